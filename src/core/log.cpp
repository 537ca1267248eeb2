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

  // Time stamp, space, origin, message, CR LF: one write, so that a process
  // ending in the middle of a line never leaves half of it in the file.
  char line[1024];
  size_t length = FormatTimeStamp(line, 64);
  line[length++] = ' ';
  const int origin = FormatText(line + length, 64, "[pid=%lu tid=%lu] ", GetCurrentProcessId(),
                                GetCurrentThreadId());
  length += origin > 0 ? static_cast<size_t>(origin) : 0;
  const size_t messageLength = std::strlen(text);
  if (length + messageLength + 2 <= sizeof line) {
    std::memcpy(line + length, text, messageLength);
    std::memcpy(line + length + messageLength, "\r\n", 2);
    WritePiece(file, line, length + messageLength + 2);
  } else {  // a plain line longer than the buffer goes out in three pieces
    WritePiece(file, line, length);
    WritePiece(file, text, messageLength);
    WritePiece(file, "\r\n", 2);
  }
  CloseHandle(file);
}

void WriteLogFormatV(const char* format, va_list args) {
  if (!settings.logEnabled.load(std::memory_order_relaxed)) return;
  char message[kLogMessageSize];
  if (FormatTruncatedV(message, sizeof message, format, args) >= 0) WriteLogLine(message);
}

void WriteLogFormat(const char* format, ...) {
  va_list args{};
  va_start(args, format);
  WriteLogFormatV(format, args);
  va_end(args);
}

}  // namespace artwheel
