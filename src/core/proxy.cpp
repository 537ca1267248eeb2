// The library's one export: DirectInput8Create, forwarded to the real provider.
#include <windows.h>
#include <unknwn.h>

#include "core/log.h"
#include "core/text_format.h"

namespace artwheel {
namespace {

using DirectInput8CreateFn = HRESULT(WINAPI*)(HINSTANCE, DWORD, REFIID, LPVOID*, IUnknown*);

HMODULE systemDinput8 = nullptr;

HMODULE LoadSystemDinput8() {
  if (systemDinput8 != nullptr) return systemDinput8;
  char systemDir[260] = {};
  char path[260];
  const UINT length = GetSystemDirectoryA(systemDir, sizeof systemDir);
  if (length == 0 || length >= sizeof systemDir ||
      FormatText(path, sizeof path, "%s\\dinput8.dll", systemDir) < 0) {
    WriteLogLine("[Error] Failed to load original dinput8.dll");
    return nullptr;
  }
  systemDinput8 = LoadLibraryA(path);
  WriteLogLine(systemDinput8 != nullptr ? "[Info] Original dinput8.dll loaded successfully"
                                        : "[Error] Failed to load original dinput8.dll");
  return systemDinput8;
}

DirectInput8CreateFn SystemProvider() {
  HMODULE library = LoadSystemDinput8();
  if (library == nullptr) return nullptr;
  return reinterpret_cast<DirectInput8CreateFn>(
      reinterpret_cast<void*>(GetProcAddress(library, "DirectInput8Create")));
}

}  // namespace
}  // namespace artwheel

extern "C" HRESULT WINAPI DirectInput8Create(HINSTANCE instance, DWORD version, REFIID riid,
                                             LPVOID* out, IUnknown* outer) {
  const artwheel::DirectInput8CreateFn provider = artwheel::SystemProvider();
  if (provider == nullptr) return E_FAIL;
  return provider(instance, version, riid, out, outer);
}
