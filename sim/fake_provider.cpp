// A stand-in for another dinput8 proxy that artwheel can chain to. It hands
// out a scripted IDirectInput8 and records every call in provider_calls.txt in
// the current folder. provider.ini beside the library scripts it:
//   [Provider]
//   Result=0x80070057   ; what DirectInput8Create returns (default 0)
#include <unknwn.h>
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

HMODULE self = nullptr;

void Record(const char* text) {
  std::FILE* file = std::fopen("provider_calls.txt", "ab");
  if (file == nullptr) return;
  std::fprintf(file, "%s\n", text);
  std::fclose(file);
}

HRESULT ScriptedResult() {
  char path[MAX_PATH] = {};
  const DWORD length = GetModuleFileNameA(self, path, sizeof path);
  char* slash = length > 0 ? std::strrchr(path, '\\') : nullptr;
  if (slash == nullptr) return S_OK;
  std::snprintf(slash + 1, sizeof path - static_cast<size_t>(slash + 1 - path), "provider.ini");
  char value[32] = {};
  GetPrivateProfileStringA("Provider", "Result", "0", value, sizeof value, path);
  return static_cast<HRESULT>(std::strtoul(value, nullptr, 0));
}

struct FakeDirectInput {
  const void* const* vtable;
};

HRESULT STDMETHODCALLTYPE QueryInterface(FakeDirectInput*, REFIID, void** out) {
  if (out != nullptr) *out = nullptr;
  return E_NOINTERFACE;
}
ULONG STDMETHODCALLTYPE AddRef(FakeDirectInput*) { return 1; }
ULONG STDMETHODCALLTYPE Release(FakeDirectInput*) { return 1; }
HRESULT STDMETHODCALLTYPE CreateDevice(FakeDirectInput*, REFGUID, void** device, IUnknown*) {
  Record("CreateDevice");
  if (device != nullptr) *device = nullptr;
  return E_NOTIMPL;
}
HRESULT STDMETHODCALLTYPE NotImplemented(FakeDirectInput*) { return E_NOTIMPL; }

const void* const kDirectInputTable[] = {
    reinterpret_cast<const void*>(&QueryInterface), reinterpret_cast<const void*>(&AddRef),
    reinterpret_cast<const void*>(&Release),        reinterpret_cast<const void*>(&CreateDevice),
    reinterpret_cast<const void*>(&NotImplemented), reinterpret_cast<const void*>(&NotImplemented),
    reinterpret_cast<const void*>(&NotImplemented), reinterpret_cast<const void*>(&NotImplemented),
    reinterpret_cast<const void*>(&NotImplemented), reinterpret_cast<const void*>(&NotImplemented),
    reinterpret_cast<const void*>(&NotImplemented)};

FakeDirectInput directInput = {kDirectInputTable};

}  // namespace

extern "C" HRESULT WINAPI DirectInput8Create(HINSTANCE, DWORD version, REFIID, LPVOID* out,
                                             IUnknown*) {
  char line[96];
  std::snprintf(line, sizeof line, "DirectInput8Create version=0x%04lX out=%s", version,
                out != nullptr ? "given" : "null");
  Record(line);
  const HRESULT result = ScriptedResult();
  if (out != nullptr) *out = SUCCEEDED(result) ? &directInput : nullptr;
  return result;
}

extern "C" HRESULT WINAPI DllCanUnloadNow() { return S_FALSE; }
extern "C" HRESULT WINAPI DllGetClassObject(REFCLSID, REFIID, LPVOID*) { return E_NOTIMPL; }
extern "C" HRESULT WINAPI DllRegisterServer() { return E_NOTIMPL; }

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
  if (reason == DLL_PROCESS_ATTACH) self = instance;
  return TRUE;
}
