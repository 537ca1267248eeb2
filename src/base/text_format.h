#pragma once
// Bounded formatting: every text the library builds goes into a fixed buffer.
#include <cstdarg>
#include <cstddef>

#if defined(__GNUC__) || defined(__clang__)
#define ARTWHEEL_PRINTF(formatIndex, firstArg) \
  __attribute__((format(printf, formatIndex, firstArg)))
#else
#define ARTWHEEL_PRINTF(formatIndex, firstArg)
#endif

namespace artwheel {

// Formats into `buffer` and returns the length. A text that does not fit is
// refused rather than cut, so that no caller ever works with a shortened path:
// the buffer is then left empty and the result is -1 (also for a format error).
int FormatText(char* buffer, size_t size, const char* format, ...) ARTWHEEL_PRINTF(3, 4);
int FormatTextV(char* buffer, size_t size, const char* format, va_list args) ARTWHEEL_PRINTF(3, 0);

// Formats into `buffer`, cutting the text to size - 1 characters when needed
// (vsnprintf's rule). Returns the length kept, or -1 on a format error.
int FormatTruncatedV(char* buffer, size_t size, const char* format, va_list args)
    ARTWHEEL_PRINTF(3, 0);

// Appends `text` to the NUL-terminated contents of `buffer` when it fits whole.
bool AppendText(char* buffer, size_t size, const char* text);

}  // namespace artwheel
