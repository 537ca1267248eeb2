#include "base/text_format.h"

#include <cstdio>
#include <cstring>

namespace artwheel {

int FormatTextV(char* buffer, size_t size, const char* format, va_list args) {
  if (buffer == nullptr || size == 0) return -1;
  const int needed = std::vsnprintf(buffer, size, format, args);
  if (needed < 0 || static_cast<size_t>(needed) >= size) {
    buffer[0] = '\0';
    return -1;
  }
  return needed;
}

int FormatText(char* buffer, size_t size, const char* format, ...) {
  va_list args{};
  va_start(args, format);
  const int result = FormatTextV(buffer, size, format, args);
  va_end(args);
  return result;
}

int FormatTruncatedV(char* buffer, size_t size, const char* format, va_list args) {
  if (buffer == nullptr || size == 0) return -1;
  const int needed = std::vsnprintf(buffer, size, format, args);
  if (needed < 0) {
    buffer[0] = '\0';
    return -1;
  }
  return static_cast<size_t>(needed) >= size ? static_cast<int>(size - 1) : needed;
}

bool AppendText(char* buffer, size_t size, const char* text) {
  const size_t used = strnlen(buffer, size);
  const size_t extra = std::strlen(text);
  if (used >= size || extra >= size - used) return false;
  std::memcpy(buffer + used, text, extra + 1);
  return true;
}

}  // namespace artwheel
