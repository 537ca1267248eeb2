#pragma once
// Text rules of the configuration file that the profile functions do not apply:
// trimming, inline comments and boolean words. Platform-free.
#include <string_view>

namespace artwheel {

// Removes leading and trailing space, tab, CR and LF.
std::string_view TrimIni(std::string_view text);

// Cuts the text at the first '#' or ';' that stands outside double quotes, then
// trims. Quote characters are kept.
std::string_view StripInlineComment(std::string_view text);

// "true", "1", "yes", "on" in any ASCII letter case; everything else is false.
bool ParseBool(std::string_view text);

bool EqualsIgnoreCaseAscii(std::string_view a, std::string_view b);

}  // namespace artwheel
