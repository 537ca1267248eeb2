#include "base/ini_text.h"

namespace artwheel {
namespace {

char LowerAscii(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }

}  // namespace

std::string_view TrimIni(std::string_view text) {
  size_t begin = 0;
  size_t end = text.size();
  while (begin < end && IsIniSpace(text[begin])) ++begin;
  while (end > begin && IsIniSpace(text[end - 1])) --end;
  return text.substr(begin, end - begin);
}

std::string_view StripInlineComment(std::string_view text) {
  bool insideQuotes = false;
  size_t end = 0;
  for (; end < text.size(); ++end) {
    const char c = text[end];
    if (c == '"') {
      insideQuotes = !insideQuotes;
    } else if (!insideQuotes && (c == '#' || c == ';')) {
      break;
    }
  }
  return TrimIni(text.substr(0, end));
}

ProfileValue CleanProfileValue(std::string_view raw, bool maybeCut, size_t limit,
                               std::string_view& value) {
  value = StripInlineComment(raw);
  // A cut line whose comment began inside what was read still has its whole value.
  const bool commentSeen = value.size() < TrimIni(raw).size();
  if ((maybeCut && !commentSeen) || value.size() > limit) {
    value = {};
    return ProfileValue::kTooLong;
  }
  return value.empty() ? ProfileValue::kEmpty : ProfileValue::kFound;
}

bool EqualsIgnoreCaseAscii(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    if (LowerAscii(a[i]) != LowerAscii(b[i])) return false;
  }
  return true;
}

bool ParseBool(std::string_view text) {
  return EqualsIgnoreCaseAscii(text, "true") || EqualsIgnoreCaseAscii(text, "1") ||
         EqualsIgnoreCaseAscii(text, "yes") || EqualsIgnoreCaseAscii(text, "on");
}

bool ShouldMakeFromStarter(FilePresence configFile, FilePresence starterFile) {
  return configFile == FilePresence::kMissing && starterFile == FilePresence::kPresent;
}

}  // namespace artwheel
