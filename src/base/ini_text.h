#pragma once
// Text rules of the configuration file that the profile functions do not apply:
// trimming, inline comments and boolean words. Platform-free.
#include <string_view>

namespace artwheel {

// Space, tab, CR and LF: the blanks the file's text rules trim.
inline bool IsIniSpace(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

// Removes leading and trailing space, tab, CR and LF.
std::string_view TrimIni(std::string_view text);

// Cuts the text at the first '#' or ';' that stands outside double quotes, then
// trims. Quote characters are kept.
std::string_view StripInlineComment(std::string_view text);

// A value as the profile functions returned it, after its inline comment is
// removed and it is trimmed. `maybeCut` says the returned text filled the
// buffer, so that more of the line may be missing.
enum class ProfileValue { kEmpty, kFound, kTooLong };
ProfileValue CleanProfileValue(std::string_view raw, bool maybeCut, size_t limit,
                               std::string_view& value);

// "true", "1", "yes", "on" in any ASCII letter case; everything else is false.
bool ParseBool(std::string_view text);

bool EqualsIgnoreCaseAscii(std::string_view a, std::string_view b);

// Whether a file is there, as far as its attributes tell.
enum class FilePresence { kPresent, kMissing, kUnknown };

// The configuration file is made from the starter file shipped beside it only
// when it is known to be missing and the starter is there: a file that may
// exist (unreadable attributes, a folder in its place) is never replaced.
bool ShouldMakeFromStarter(FilePresence configFile, FilePresence starterFile);

}  // namespace artwheel
