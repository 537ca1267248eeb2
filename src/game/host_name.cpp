#include "game/host_name.h"

#include "base/ini_text.h"

namespace artwheel {

std::string_view ExecutableFileName(std::string_view path) {
  const size_t separator = path.find_last_of("\\/");
  return separator == std::string_view::npos ? path : path.substr(separator + 1);
}

bool IsHostExecutablePath(std::string_view path) {
  return EqualsIgnoreCaseAscii(ExecutableFileName(path), kHostExecutableName);
}

}  // namespace artwheel
