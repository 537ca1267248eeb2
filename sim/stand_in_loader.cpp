// A stand-in of the project's own test set for a mod loader: a dinput8.dll
// proxy that serves DirectInput from the fake provider it is built with, loads
// the DLLs of a list, and may chain its export to one of them. loader.ini
// beside it:
//   [Loader]
//   Load=mods\a.dll,b.dll   ; loaded in this order, relative to its folder
//   When=attach             ; attach (default): at its own load;
//                           ; device: after the game's first CreateDevice
//   Chain=a.dll             ; DirectInput8Create goes to that DLL's export
//   Free=1                  ; each DLL of the list is freed right after its load,
//                           ; as loaders do that take a DLL's work as done then
// What it did is written to loader.txt in the current folder.
#include "stand_in_loader.h"

#include <cstdio>
#include <cstring>

namespace {

char folder[MAX_PATH] = {};
char settings[MAX_PATH] = {};
bool listLoaded = false;

void Note(const char* what, const char* name, bool ok) {
  std::FILE* file = std::fopen("loader.txt", "ab");
  if (file == nullptr) return;
  std::fprintf(file, "%s %s %s\n", what, name, ok ? "ok" : "error");
  std::fclose(file);
}

void Setting(const char* key, char* value, DWORD size) {
  GetPrivateProfileStringA("Loader", key, "", value, size, settings);
}

HMODULE LoadBeside(const char* name) {
  char path[MAX_PATH * 2];
  std::snprintf(path, sizeof path, "%s%s", folder, name);
  return LoadLibraryA(path);
}

bool FreesAfterLoad() {
  char value[8];
  Setting("Free", value, sizeof value);
  return value[0] == '1';
}

void LoadList() {
  if (listLoaded) return;
  listLoaded = true;
  char list[512];
  Setting("Load", list, sizeof list);
  char* context = nullptr;
  for (char* name = strtok_s(list, ",", &context); name != nullptr;
       name = strtok_s(nullptr, ",", &context)) {
    HMODULE loaded = LoadBeside(name);
    Note("load", name, loaded != nullptr);
    if (loaded != nullptr && FreesAfterLoad()) Note("free", name, FreeLibrary(loaded) != FALSE);
  }
}

bool LoadsAt(const char* moment) {
  char when[32];
  Setting("When", when, sizeof when);
  return _stricmp(when[0] != '\0' ? when : "attach", moment) == 0;
}

}  // namespace

void LoaderAttached(HMODULE self) {
  GetModuleFileNameA(self, folder, sizeof folder);
  char* slash = std::strrchr(folder, '\\');
  if (slash != nullptr) slash[1] = '\0';
  std::snprintf(settings, sizeof settings, "%sloader.ini", folder);
  if (LoadsAt("attach")) LoadList();
}

void LoaderFormatSet() {
  if (LoadsAt("format")) LoadList();
}

extern "C" HRESULT WINAPI DirectInput8Create(HINSTANCE instance, DWORD version, REFIID riid,
                                             LPVOID* out, IUnknown* outer) {
  using CreateFn = HRESULT(WINAPI*)(HINSTANCE, DWORD, REFIID, LPVOID*, IUnknown*);
  char chain[MAX_PATH];
  Setting("Chain", chain, sizeof chain);
  if (chain[0] == '\0') return ProvideDirectInput8Create(instance, version, riid, out, outer);
  HMODULE chained = LoadBeside(chain);
  const auto create = reinterpret_cast<CreateFn>(reinterpret_cast<void*>(
      chained != nullptr ? GetProcAddress(chained, "DirectInput8Create") : nullptr));
  Note("chain", chain, create != nullptr);
  return create != nullptr ? create(instance, version, riid, out, outer) : E_FAIL;
}
