#pragma once
// The configuration file's own line scanner: finds a key in one section or in
// whatever section it stands, strips inline comments, and reads lines of any
// length without holding them. Platform-free: it works on a C stream or on
// bytes fed to it.
#include <cstddef>
#include <cstdio>
#include <string_view>

namespace artwheel {

enum class IniScanResult {
  kNotFound,
  kFound,
  kRejected,  // the key was found but its value does not fit the buffer
  kHasNul,    // the key was found but its value holds a NUL byte
};

class IniKeyScanner {
 public:
  // `out` receives the value (comment stripped, trimmed, NUL-terminated); it
  // must hold at least one byte. The first line of the key wins, in whatever
  // section it stands.
  IniKeyScanner(std::string_view key, char* out, size_t outSize);
  // Only the key's lines inside `section` count. A line that begins with '['
  // starts a section named by the text up to the first ']' (or the line's end),
  // trimmed and compared without case; lines before the first one belong to
  // none.
  IniKeyScanner(std::string_view section, std::string_view key, char* out, size_t outSize);

  // Feeds the next bytes of the file. Returns true once the key's line has been
  // read completely; further bytes are then ignored.
  bool Feed(const char* data, size_t size);

  // Ends the input (the last line needs no line break) and gives the outcome.
  IniScanResult Finish();

  // The file began with the UTF-8 mark (EF BB BF): its text is UTF-8. The
  // mark itself is not part of the first line.
  bool Utf8Marked() const { return utf8Marked_; }

 private:
  enum class Phase { kLineStart, kHeader, kKey, kValue, kValueComment, kSkipLine, kDone };
  static constexpr size_t kKeyCapacity = 64;

  void FeedMarkPrefix();
  void FeedChar(char c);
  void EndLine();
  void EndKey();
  void EndHeader();
  void StoreValueChar(char c);

  std::string_view wantedSection_;
  std::string_view wantedKey_;
  bool anySection_ = true;
  bool inWantedSection_ = true;
  char* out_;
  size_t outCapacity_;  // characters, without the terminator
  Phase phase_ = Phase::kLineStart;
  char key_[kKeyCapacity] = {};  // the key, or the section header's name
  size_t keyLength_ = 0;
  bool keyTooLong_ = false;
  size_t valueLength_ = 0;      // logical characters after the leading trim
  size_t valueTrimmedEnd_ = 0;  // logical length after the trailing trim
  bool valueHasNul_ = false;
  bool insideQuotes_ = false;
  IniScanResult result_ = IniScanResult::kNotFound;
  bool atFileStart_ = true;  // still looking at the bytes that may be the UTF-8 mark
  size_t markMatched_ = 0;
  bool utf8Marked_ = false;
};

// Scans an open stream from its current position to its end for the key in
// `section` (empty: in any section). Every byte is read, so that
// `wellFormedUtf8`, when given, tells whether the whole text is UTF-8.
IniScanResult FindIniKeyInStream(std::FILE* stream, std::string_view section, std::string_view key,
                                 char* out, size_t outSize, bool* wellFormedUtf8 = nullptr);

}  // namespace artwheel
