#include "core/log.h"

#include <windows.h>

#include <cstring>
#include <ctime>

#include "core/settings.h"

namespace artwheel {
namespace {

// Another thread holding the file for its own line makes our open fail with a
// sharing violation for the ~100 us it takes to write; waiting a moment keeps
// that line instead of dropping it.
constexpr int kOpenAttempts = 8;

HANDLE OpenLogForAppend() {
  for (int attempt = 0;; ++attempt) {
    HANDLE file = CreateFileA(kLogFileName, FILE_APPEND_DATA, FILE_SHARE_READ, nullptr, OPEN_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file != INVALID_HANDLE_VALUE) return file;
    if (GetLastError() != ERROR_SHARING_VIOLATION || attempt + 1 >= kOpenAttempts) return file;
    Sleep(1);
  }
}

void WritePiece(HANDLE file, const char* text, size_t length) {
  DWORD written = 0;
  WriteFile(file, text, static_cast<DWORD>(length), &written, nullptr);
}

size_t FormatTimeStamp(char* buffer, size_t size) {
  const __time64_t now = _time64(nullptr);
  struct tm local = {};
  if (_localtime64_s(&local, &now) != 0) return 0;
  return strftime(buffer, size, "[%Y-%m-%d %H:%M:%S]", &local);
}

}  // namespace

void WriteLogLine(const char* text) {
  if (!settings.logEnabled.load(std::memory_order_relaxed) || text == nullptr) return;
  HANDLE file = OpenLogForAppend();
  if (file == INVALID_HANDLE_VALUE) return;

  char stamp[64];
  const size_t stampLength = FormatTimeStamp(stamp, sizeof stamp);
  char origin[64];
  const int originLength = FormatText(origin, sizeof origin, "[pid=%lu tid=%lu] ",
                                      GetCurrentProcessId(), GetCurrentThreadId());

  WritePiece(file, stamp, stampLength);
  WritePiece(file, " ", 1);
  WritePiece(file, origin, originLength > 0 ? static_cast<size_t>(originLength) : 0);
  WritePiece(file, text, std::strlen(text));
  WritePiece(file, "\r\n", 2);
  CloseHandle(file);
}

void WriteLogFormatV(const char* format, va_list args) {
  if (!settings.logEnabled.load(std::memory_order_relaxed)) return;
  char message[kLogMessageSize];
  if (FormatTruncatedV(message, sizeof message, format, args) >= 0) WriteLogLine(message);
}

void WriteLogFormat(const char* format, ...) {
  va_list args;
  va_start(args, format);
  WriteLogFormatV(format, args);
  va_end(args);
}

}  // namespace artwheel
