#include "app/chainload.h"

#include <atomic>
#include <cwchar>

#include "app/chain_path.h"
#include "app/export_listing.h"
#include "app/settings.h"
#include "app/startup.h"
#include "base/log.h"
#include "base/pe_image.h"
#include "base/text_format.h"
#include "base/thread_flag.h"
#include "base/wide_path.h"

namespace artwheel {
namespace {

using DirectInput8CreateFn = HRESULT(WINAPI*)(HINSTANCE, DWORD, REFIID, LPVOID*, IUnknown*);

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

void LogExports(HMODULE module) {
  if (ImageNtHeaders(module) == nullptr) return;
  const IMAGE_EXPORT_DIRECTORY* exports = ImageExports(module);
  if (exports == nullptr) {
    WriteLogFormat("[Chainload] Line %d exports: none", 1);
    return;
  }
  if (exports->NumberOfNames == 0) {
    WriteLogFormat("[Chainload] Line %d exports: ordinal-only (%lu function(s))", 1,
                   static_cast<unsigned long>(exports->NumberOfFunctions));
    return;
  }
  ExportListing listing;
  for (DWORD i = 0; i < exports->NumberOfNames; ++i) {
    if (!listing.Add(ExportName(module, *exports, i))) break;
  }
  WriteLogFormat("[Chainload] Line %d exports: %s", 1, listing.text());
}

// Builds the full path of the chained library; false (logged) when there is none.
bool ResolveChainPath(char* fullPath, size_t size) {
  char folder[kUtf8PathSize];
  char iniPath[kUtf8PathSize];
  char value[kChainPathSize];
  if (!ReadChainSetting(folder, iniPath, value, sizeof value)) return false;
  if (value[0] == '\0') {
    WriteLogFormat("[Chainload] Disabled; chainDInput8dllPath is empty in %s", iniPath);
    return false;
  }
  RemoveSurroundingQuotes(value);
  const int length = ComposeChainPath(folder, value, fullPath, size);
  WriteLogFormat("[Chainload] Reading chainDInput8dllPath from %s", iniPath);
  if (length < 0 || !FitsSystemPath(fullPath)) {
    WriteLogFormat("[Chainload] Failed: path longer than the %u characters Windows allows: %s%s",
                   static_cast<unsigned>(kPathUnits - 1), IsAbsolutePath(value) ? "" : folder,
                   value);
    return false;
  }
  return true;
}

void LoadChainProvider() {
  char fullPath[kChainPathSize + kUtf8PathSize];
  if (!ResolveChainPath(fullPath, sizeof fullPath)) return;
  wchar_t widePath[kWidePathCount] = {};
  HMODULE chained = nullptr;
  if (WideFromUtf8(fullPath, widePath, kWidePathCount)) {
    chained = LoadLibraryW(widePath);
  } else {
    SetLastError(ERROR_FILENAME_EXCED_RANGE);
  }
  if (chained == nullptr) {
    WriteLogFormat("[Chainload] Failed: %s (error %lu)", fullPath, GetLastError());
    return;
  }
  WriteLogFormat("[Chainload] Loaded: %s", fullPath);
  if (chained == LibraryModule()) {
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
  char path[kUtf8PathSize] = {};
  const size_t length = ChainProvider.module != nullptr
                            ? ModuleFileNameUtf8(ChainProvider.module, path, sizeof path)
                            : 0;
  if (length != 0 && length < sizeof path) {
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
    wchar_t path[kWidePathCount] = {};
    constexpr wchar_t kName[] = L"\\dinput8.dll";
    constexpr UINT kRoom = kWidePathCount - sizeof kName / sizeof kName[0] + 1;
    const UINT length = GetSystemDirectoryW(path, kRoom);
    if (length != 0 && length < kRoom) {
      std::wmemcpy(path + length, kName, sizeof kName / sizeof kName[0]);
      library = LoadLibraryW(path);
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

}  // namespace

HRESULT ForwardDirectInput8Create(HINSTANCE instance, DWORD version, REFIID riid, LPVOID* out,
                                  IUnknown* outer) {
  if (!chainLoadStarted.exchange(true)) LoadChainProvider();
  const DirectInput8CreateFn provider = ChooseProvider();
  if (provider == nullptr) return E_FAIL;
  ThreadFlagScope scope(forwarding);
  return provider(instance, version, riid, out, outer);
}

}  // namespace artwheel
