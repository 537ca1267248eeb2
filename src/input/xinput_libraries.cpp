#include "input/xinput_libraries.h"

#include "input/xinput_hooks.h"

namespace artwheel {

XInputLibraryTable XInputLibraries;

namespace {

constexpr const char* kXInputFileNames[] = {"xinput1_4.dll", "xinput1_3.dll", "xinput9_1_0.dll",
                                            "xinput1_2.dll", "xinput1_1.dll"};

// Our own GetProcAddress import may lead to the game-facing detour, which
// answers "XInputGetState" with the filter; kernel32's entry gives the truth.
GetProcAddressFn KernelGetProcAddress() {
  HMODULE kernel = GetModuleHandleA("kernel32.dll");
  if (kernel == nullptr) return nullptr;
  return reinterpret_cast<GetProcAddressFn>(
      reinterpret_cast<void*>(GetProcAddress(kernel, "GetProcAddress")));
}

}  // namespace

XInputGetStateFn FoundXInputGetState() { return xinputGetStateHook.Original<XInputGetStateFn>(); }

bool DiscoverXInputLibraries() {
  for (const char* name : kXInputFileNames) {
    HMODULE library = LoadLibraryA(name);
    if (library == nullptr) continue;
    const GetProcAddressFn lookup = KernelGetProcAddress();
    getProcAddressHook.SetOriginal(reinterpret_cast<void*>(lookup));
    const FARPROC entry = lookup != nullptr ? lookup(library, "XInputGetState") : nullptr;
    if (entry == nullptr) {
      FreeLibrary(library);
      continue;
    }
    const auto getState = reinterpret_cast<XInputGetStateFn>(reinterpret_cast<void*>(entry));
    if (XInputLibraries.count < kMaxXInputLibraries) {
      XInputLibraries.entries[XInputLibraries.count++] = getState;
    }
    if (FoundXInputGetState() == nullptr) {
      xinputGetStateHook.SetOriginal(reinterpret_cast<void*>(getState));
    }
  }
  return FoundXInputGetState() != nullptr;
}

}  // namespace artwheel
