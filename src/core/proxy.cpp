// The library's one export: DirectInput8Create, forwarded to a chained proxy
// named in the configuration or to the system's dinput8.dll. The first
// successful creation in the host process also redirects the interface's
// CreateDevice to the device filter; other programs get the provider's objects
// untouched.
#include <unknwn.h>
#include <windows.h>

#include <atomic>
#include <cstring>

#include "core/chain_path.h"
#include "core/config.h"
#include "core/export_listing.h"
#include "core/log.h"
#include "core/startup.h"
#include "core/text_format.h"
#include "core/thread_flag.h"
#include "input/code_patch.h"
#include "input/dinput_devices.h"

namespace artwheel {
namespace {

using DirectInput8CreateFn = HRESULT(WINAPI*)(HINSTANCE, DWORD, REFIID, LPVOID*, IUnknown*);

constexpr int kCreateDeviceSlot = 3;

struct ChainProviderRecord {
  HMODULE module = nullptr;
  std::atomic<DirectInput8CreateFn> entry{nullptr};
};

std::atomic<bool> chainLoadStarted{false};
ChainProviderRecord ChainProvider;
std::atomic<HMODULE> systemDinput8{nullptr};
// A chain that leads back here (directly or through another proxy that chains
// to us) would forward forever; the re-entered call marks it refused.
ThreadFlag forwarding;
std::atomic<bool> chainRefused{false};

const IMAGE_NT_HEADERS64* NtHeaders(HMODULE module) {
  const auto* base = reinterpret_cast<const unsigned char*>(module);
  const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(base);
  if (dos->e_magic != IMAGE_DOS_SIGNATURE) return nullptr;
  const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS64*>(base + dos->e_lfanew);
  return nt->Signature == IMAGE_NT_SIGNATURE ? nt : nullptr;
}

void LogExports(HMODULE module) {
  const IMAGE_NT_HEADERS64* nt = NtHeaders(module);
  if (nt == nullptr) return;
  const IMAGE_DATA_DIRECTORY& entry =
      nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_EXPORT];
  if (entry.VirtualAddress == 0 || entry.Size == 0) {
    WriteLogFormat("[Chainload] Line %d exports: none", 1);
    return;
  }
  const auto* base = reinterpret_cast<const unsigned char*>(module);
  const auto* exports =
      reinterpret_cast<const IMAGE_EXPORT_DIRECTORY*>(base + entry.VirtualAddress);
  if (exports->NumberOfNames == 0) {
    WriteLogFormat("[Chainload] Line %d exports: ordinal-only (%lu function(s))", 1,
                   static_cast<unsigned long>(exports->NumberOfFunctions));
    return;
  }
  const auto* names = reinterpret_cast<const DWORD*>(base + exports->AddressOfNames);
  ExportListing listing;
  for (DWORD i = 0; i < exports->NumberOfNames; ++i) {
    if (!listing.Add(reinterpret_cast<const char*>(base + names[i]))) break;
  }
  WriteLogFormat("[Chainload] Line %d exports: %s", 1, listing.text());
}

// Builds the full path of the chained library; false (logged) when there is none.
bool ResolveChainPath(HMODULE module, char* fullPath, size_t size) {
  char folder[kPathSize];
  if (!ModuleDirectory(module, folder, sizeof folder)) {
    WriteLogLine("[Chainload] Could not resolve module directory");
    return false;
  }
  char iniPath[kPathSize];
  if (FormatText(iniPath, sizeof iniPath, "%s%s", folder, kIniFileName) < 0) {
    WriteLogLine("[Chainload] Could not resolve module directory");
    return false;
  }
  char value[kChainPathSize];
  ReadChainPath(iniPath, value, sizeof value);
  if (value[0] == '\0') {
    WriteLogFormat("[Chainload] Disabled; chainDInput8dllPath is empty in %s", iniPath);
    return false;
  }
  RemoveSurroundingQuotes(value);
  const int length = ComposeChainPath(folder, value, fullPath, size);
  WriteLogFormat("[Chainload] Reading chainDInput8dllPath from %s", iniPath);
  if (length < 0) {
    WriteLogFormat("[Chainload] Failed: path longer than %u bytes: %s%s",
                   static_cast<unsigned>(size - 1), IsAbsolutePath(value) ? "" : folder, value);
    return false;
  }
  return true;
}

void LoadChainProvider(HMODULE module) {
  char fullPath[kChainPathSize + kPathSize];
  if (!ResolveChainPath(module, fullPath, sizeof fullPath)) return;
  HMODULE chained = LoadLibraryA(fullPath);
  if (chained == nullptr) {
    WriteLogFormat("[Chainload] Failed: %s (error %lu)", fullPath, GetLastError());
    return;
  }
  WriteLogFormat("[Chainload] Loaded: %s", fullPath);
  if (chained == moduleHandle) {
    WriteLogLine(
        "[Chainload] Refused: chainDInput8dllPath names this library itself; using the system "
        "dinput8.dll");
    return;
  }
  LogExports(chained);
  const auto entry = reinterpret_cast<DirectInput8CreateFn>(
      reinterpret_cast<void*>(GetProcAddress(chained, "DirectInput8Create")));
  if (entry == nullptr) {
    WriteLogLine("[Chainload] Loaded module does not export DirectInput8Create");
    return;
  }
  ChainProvider.module = chained;
  ChainProvider.entry.store(entry, std::memory_order_release);
  WriteLogLine("[Chainload] Selected DirectInput8Create provider");
}

void LogForwarding() {
  char path[kPathSize] = {};
  if (ChainProvider.module != nullptr &&
      GetModuleFileNameA(ChainProvider.module, path, sizeof path) != 0) {
    WriteLogFormat("[Chainload] Forwarding DirectInput8Create to %s", path);
  } else {
    WriteLogLine("[Chainload] Forwarding DirectInput8Create to chainloaded provider");
  }
}

// The system library, loaded on the first call that needs it; a failed load is
// tried again by the next call.
DirectInput8CreateFn SystemProvider() {
  HMODULE library = systemDinput8.load(std::memory_order_acquire);
  if (library == nullptr) {
    char systemDir[kPathSize] = {};
    char path[kPathSize];
    const UINT length = GetSystemDirectoryA(systemDir, sizeof systemDir);
    if (length != 0 && length < sizeof systemDir &&
        FormatText(path, sizeof path, "%s\\dinput8.dll", systemDir) >= 0) {
      library = LoadLibraryA(path);
    }
    WriteLogLine(library != nullptr ? "[Info] Original dinput8.dll loaded successfully"
                                    : "[Error] Failed to load original dinput8.dll");
    if (library == nullptr) return nullptr;
    systemDinput8.store(library, std::memory_order_release);
  }
  return reinterpret_cast<DirectInput8CreateFn>(
      reinterpret_cast<void*>(GetProcAddress(library, "DirectInput8Create")));
}

DirectInput8CreateFn ChooseProvider() {
  if (forwarding.IsSet()) {
    // We are inside our own forwarding call: the chain came back to us.
    if (!chainRefused.exchange(true)) {
      WriteLogLine(
          "[Chainload] Refused: the chain leads back to this library; using the system "
          "dinput8.dll");
    }
    return SystemProvider();
  }
  const DirectInput8CreateFn chained = ChainProvider.entry.load(std::memory_order_acquire);
  if (chained != nullptr && !chainRefused.load(std::memory_order_relaxed)) {
    LogForwarding();
    return chained;
  }
  return SystemProvider();
}

bool PatchMethodSlot(void** slot, void* value) {
  return PatchCodePointer(slot, value, PAGE_EXECUTE_READWRITE);
}

void RedirectCreateDevice(void* directInput) {
  void** table = *static_cast<void***>(directInput);
  if (table == nullptr || table[kCreateDeviceSlot] == nullptr) {
    WriteLogLine("[Input] Failed to hook DirectInput8 CreateDevice");
    return;
  }
  switch (createDeviceRedirect.Redirect(
      &table[kCreateDeviceSlot], reinterpret_cast<void*>(&CreateDeviceDetour), PatchMethodSlot)) {
    case TableRedirect::Outcome::kRedirected:
      WriteLogLine("[Input] Hooked DirectInput8 CreateDevice");
      break;
    case TableRedirect::Outcome::kFailed:
      WriteLogLine("[Input] Failed to hook DirectInput8 CreateDevice");
      break;
    case TableRedirect::Outcome::kAlreadyRedirected:
      break;  // another thread of ours got there first
  }
}

}  // namespace
}  // namespace artwheel

extern "C" HRESULT WINAPI DirectInput8Create(HINSTANCE instance, DWORD version, REFIID riid,
                                             LPVOID* out, IUnknown* outer) {
  using namespace artwheel;
  if (!chainLoadStarted.exchange(true)) {
    LoadChainProvider(moduleHandle != nullptr ? moduleHandle : instance);
  }
  const DirectInput8CreateFn provider = ChooseProvider();
  if (provider == nullptr) return E_FAIL;
  HRESULT result = E_FAIL;
  {
    ThreadFlagScope scope(forwarding);
    result = provider(instance, version, riid, out, outer);
  }
  if (FAILED(result) || out == nullptr || *out == nullptr) return result;
  if (!InHostProcess() || createDeviceRedirect.redirected()) return result;
  RedirectCreateDevice(*out);
  return result;
}
