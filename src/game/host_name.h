#pragma once
// Recognising the host game from its executable path. Platform-free.
#include <string_view>

namespace artwheel {

inline constexpr std::string_view kHostExecutableName = "sekiro.exe";

// The file name after the last '\' or '/', whichever comes later; the whole
// text when it has neither.
std::string_view ExecutableFileName(std::string_view path);

bool IsHostExecutablePath(std::string_view path);

}  // namespace artwheel
