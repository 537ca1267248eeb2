#include "app/startup.h"

#include <atomic>

#include "app/loaded_as.h"
#include "app/settings.h"
#include "app/worker.h"
#include "base/log.h"
#include "base/text_format.h"
#include "base/wide_path.h"
#include "game/host_name.h"

namespace artwheel {

namespace {

HMODULE moduleHandle = nullptr;

std::atomic<bool> coreStarted{false};
std::atomic<bool> hostProcess{false};

// Two copies of the library in one process (under two file names) each have
// their own coreStarted; the per-process mutex lets only the first start a worker.
enum class MutexGuard { kAcquired, kHeldByOtherCopy, kFailed };

MutexGuard AcquireProcessMutex() {
  char name[96];
  if (FormatText(name, sizeof name, "Local\\ArtwheelCore_%lu", GetCurrentProcessId()) < 0) {
    return MutexGuard::kFailed;
  }
  HANDLE mutex = CreateMutexA(nullptr, TRUE, name);
  if (mutex == nullptr) return MutexGuard::kFailed;
  if (GetLastError() == ERROR_ALREADY_EXISTS) {
    CloseHandle(mutex);
    return MutexGuard::kHeldByOtherCopy;
  }
  return MutexGuard::kAcquired;  // held open for the life of the process
}

// False for a process that is not the host; the image line is logged first so
// that a rejected process still shows what it was. The image line and the
// version line open every start in the game's log; another process that
// loads the library from the game's folder adds the image line alone.
bool IsHostProcess() {
  char imagePath[kUtf8PathSize] = {};
  const size_t length = ModuleFileNameUtf8(nullptr, imagePath, sizeof imagePath);
  const bool known = length != 0 && length < sizeof imagePath;
  if (known) {
    WriteLogFormat("[Core] Process image: %s", imagePath);
  } else {
    WriteLogLine("[Core] Could not read process image path; allowing startup");
  }
  const bool host = !known || IsHostExecutablePath(imagePath);
  if (host) WriteLogLine("[Core] artwheel " ARTWHEEL_VERSION);
  return host;
}

// A loader may free the library right after loading it; the worker and the
// tables it patched would then point into unmapped code. Pinned, the library
// stays mapped until the process ends, whoever frees it.
void PinLibrary(HMODULE module) {
  HMODULE pinned = nullptr;
  // The module's handle is the address of its first byte, inside its image.
  if (!GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_PIN | GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS,
                          reinterpret_cast<LPCWSTR>(module), &pinned)) {
    WriteLogFormat("[Core] Could not pin the library in memory (error %lu)", GetLastError());
  }
}

}  // namespace

HMODULE LibraryModule() { return moduleHandle; }

bool InHostProcess() { return hostProcess.load(std::memory_order_acquire); }

BOOL StartupGuard(HMODULE module, DWORD reason) {
  if (reason == DLL_PROCESS_DETACH) WriteWaitingLogLines();  // never waits for a turn
  if (reason != DLL_PROCESS_ATTACH) return TRUE;
  DisableThreadLibraryCalls(module);
  moduleHandle = module;
  LocateSettingsFile(module);
  LoadDebugSetting();
  if (!IsHostProcess()) return TRUE;
  LogLoadedAs(module);
  if (coreStarted.exchange(true)) return TRUE;

  switch (AcquireProcessMutex()) {
    case MutexGuard::kHeldByOtherCopy:
      WriteLogLine("[Core] Duplicate core start suppressed by mutex guard");
      return TRUE;
    case MutexGuard::kFailed:
      // Without the mutex a second copy could start a second worker that would
      // patch the same tables and fire every combination twice; stay inert.
      WriteLogLine("[Core] CreateMutex guard failed");
      WriteLogLine("[Core] Worker not started without the mutex guard");
      return TRUE;
    case MutexGuard::kAcquired:
      break;
  }

  PinLibrary(module);
  HANDLE thread = CreateThread(nullptr, 0, WorkerMain, module, 0, nullptr);
  if (thread == nullptr) {
    WriteLogFormat("[Core] Could not start the worker thread (error %lu)", GetLastError());
    return TRUE;
  }
  // Only the copy whose worker hands the filters the player's settings
  // filters anything; any other copy in this process only forwards.
  hostProcess.store(true, std::memory_order_release);
  return TRUE;
}

}  // namespace artwheel
