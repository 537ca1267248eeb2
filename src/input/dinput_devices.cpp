#include "input/dinput_devices.h"

namespace artwheel {

std::atomic<CreateDeviceFn> savedCreateDevice{nullptr};

HRESULT STDMETHODCALLTYPE CreateDeviceDetour(void* self, REFGUID guid, void** device,
                                             IUnknown* outer) {
  const CreateDeviceFn original = savedCreateDevice.load(std::memory_order_acquire);
  if (original == nullptr) return E_FAIL;
  return original(self, guid, device, outer);
}

}  // namespace artwheel
