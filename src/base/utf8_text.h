#pragma once
// UTF-8 text as the system's paths and the configuration file meet it: whether
// bytes are well-formed UTF-8, and how many UTF-16 code units a text becomes.
// Platform-free.
#include <cstddef>
#include <cstdint>
#include <string_view>

namespace artwheel {

// The longest path the system's wide functions take without a long-path
// prefix, in UTF-16 code units with the terminator (MAX_PATH).
inline constexpr size_t kPathUnits = 260;
// Room for any such path in UTF-8: at most three bytes per code unit (a pair
// of surrogates, two units, is four bytes), and the terminator.
inline constexpr size_t kUtf8PathSize = kPathUnits * 3 + 1;

// Well-formed UTF-8 (no overlong forms, no surrogates, nothing past U+10FFFF),
// checked over bytes fed in pieces of any size.
class Utf8Check {
 public:
  void Feed(const char* data, size_t size);
  // True when every byte fed so far belongs to a whole, well-formed character.
  bool Finish() const { return valid_ && pending_ == 0; }

 private:
  bool valid_ = true;
  int pending_ = 0;     // continuation bytes still expected
  uint8_t low_ = 0x80;  // range of the next continuation byte
  uint8_t high_ = 0xBF;
};

bool IsWellFormedUtf8(std::string_view text);

// UTF-16 code units of a well-formed UTF-8 text: one per character, two for a
// character past U+FFFF.
size_t Utf16Length(std::string_view utf8);

// A path the system's wide functions take: at most kPathUnits - 1 code units.
bool FitsSystemPath(std::string_view utf8);

}  // namespace artwheel
