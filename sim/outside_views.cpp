#include "outside_views.h"

#include <windows.h>
// After windows.h, which it needs.
#include <psapi.h>

#include <atomic>
#include <cstdio>

#include "base/log_hand_over.h"

namespace sim {
namespace {

struct Viewers {
  std::atomic<long> opened{0};
  std::atomic<long> missing{0};
  std::atomic<long> holding{0};
};
Viewers viewers;

// One viewer at a time: a new one is refused while another holds the log.
struct ViewerRequest {
  char path[MAX_PATH];
  DWORD milliseconds;
  char buffer[64 * 1024];
};
ViewerRequest request;

DWORD WINAPI ViewLog(void*) {
  HANDLE file = CreateFileA(request.path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                            OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) {
    ++viewers.missing;
    --viewers.holding;
    return 0;
  }
  ++viewers.opened;
  DWORD got = 0;
  while (ReadFile(file, request.buffer, sizeof request.buffer, &got, nullptr) && got != 0) {
  }
  Sleep(request.milliseconds);
  CloseHandle(file);
  --viewers.holding;
  return 0;
}

// Committed memory that belongs to this process alone, region by region, as
// Windows counts private bytes (Wine's process counters leave them at 0).
unsigned long long PrivateBytes() {
  unsigned long long total = 0;
  MEMORY_BASIC_INFORMATION region = {};
  for (const char* at = nullptr;
       VirtualQuery(at, &region, sizeof region) == sizeof region && region.RegionSize != 0;
       at = static_cast<const char*>(region.BaseAddress) + region.RegionSize) {
    if (region.State == MEM_COMMIT && region.Type == MEM_PRIVATE) total += region.RegionSize;
  }
  return total;
}

}  // namespace

void ReportMemory(std::FILE* results, const char* label) {
  PROCESS_MEMORY_COUNTERS counters = {};
  counters.cb = sizeof counters;
  const unsigned long long working =
      GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof counters)
          ? counters.WorkingSetSize
          : 0;
  std::fprintf(results, "memory %s private=%llu working=%llu\n", label, PrivateBytes(), working);
}

void HoldLogOpen(std::FILE* results, const char* logFile, uint32_t milliseconds) {
  if (viewers.holding.load() != 0) {
    std::fprintf(results, "holdlog busy\n");
    return;
  }
  GetFullPathNameA(logFile, sizeof request.path, request.path, nullptr);
  request.milliseconds = milliseconds;
  ++viewers.holding;
  HANDLE thread = CreateThread(nullptr, 0, ViewLog, nullptr, 0, nullptr);
  if (thread == nullptr) {
    --viewers.holding;
    std::fprintf(results, "holdlog error %lu\n", GetLastError());
    return;
  }
  CloseHandle(thread);
}

namespace {

// Whether lines wait in the library's hand-over of log lines (none when it
// made none: logging off).
bool LogLinesWaiting() {
  char name[64];
  if (std::snprintf(name, sizeof name, artwheel::kHandOverNameFormat, GetCurrentProcessId()) <= 0) {
    return false;
  }
  HANDLE mapping = OpenFileMappingA(FILE_MAP_READ, FALSE, name);
  if (mapping == nullptr) return false;
  const void* view = MapViewOfFile(mapping, FILE_MAP_READ, 0, 0, sizeof(artwheel::HandOverRing));
  const bool waiting = view != nullptr && artwheel::AnyLineHandedOver(
                                              *static_cast<const artwheel::HandOverRing*>(view));
  if (view != nullptr) UnmapViewOfFile(view);
  CloseHandle(mapping);
  return waiting;
}

// Whether the log can be opened as the library opens it: nobody writes it.
// True when there is no log at all.
bool LogFileFree(const char* logFile) {
  HANDLE file = CreateFileA(logFile, FILE_APPEND_DATA, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return GetLastError() != ERROR_SHARING_VIOLATION;
  CloseHandle(file);
  return true;
}

}  // namespace

void WaitUntilLogWritten(const char* logFile, uint32_t milliseconds) {
  const ULONGLONG deadline = GetTickCount64() + milliseconds;
  while (!(LogFileFree(logFile) && !LogLinesWaiting()) && GetTickCount64() < deadline) Sleep(1);
}

void ReportLogViewers(std::FILE* results) {
  std::fprintf(results, "logviewers opened=%ld missing=%ld holding=%ld\n", viewers.opened.load(),
               viewers.missing.load(), viewers.holding.load());
}

}  // namespace sim
