#include "app/chain_path.h"

#include <cstring>

#include "base/text_format.h"

namespace artwheel {

void RemoveSurroundingQuotes(char* value) {
  const size_t length = std::strlen(value);
  if (length >= 2 && value[0] == '"' && value[length - 1] == '"') {
    std::memmove(value, value + 1, length - 2);
    value[length - 2] = '\0';
  }
}

bool IsAbsolutePath(const char* path) {
  const size_t length = std::strlen(path);
  if (length < 3) return false;
  const bool drive = path[1] == ':' && (path[2] == '\\' || path[2] == '/');
  const bool network = path[0] == '\\' && path[1] == '\\';
  return drive || network;
}

int ComposeChainPath(const char* folder, const char* value, char* out, size_t size) {
  return IsAbsolutePath(value) ? FormatText(out, size, "%s", value)
                               : FormatText(out, size, "%s%s", folder, value);
}

}  // namespace artwheel
