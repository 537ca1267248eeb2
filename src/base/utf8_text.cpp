#include "base/utf8_text.h"

namespace artwheel {
namespace {

// How many continuation bytes follow a lead byte, and the range of the first
// of them (Unicode's table of well-formed byte sequences); -1 for a byte that
// cannot begin a character.
struct Lead {
  int following;
  uint8_t low;
  uint8_t high;
};

Lead ReadLead(uint8_t byte) {
  if (byte < 0x80) return {0, 0x80, 0xBF};
  if (byte >= 0xC2 && byte <= 0xDF) return {1, 0x80, 0xBF};
  if (byte == 0xE0) return {2, 0xA0, 0xBF};
  if (byte == 0xED) return {2, 0x80, 0x9F};  // no surrogates
  if (byte >= 0xE1 && byte <= 0xEF) return {2, 0x80, 0xBF};
  if (byte == 0xF0) return {3, 0x90, 0xBF};
  if (byte >= 0xF1 && byte <= 0xF3) return {3, 0x80, 0xBF};
  if (byte == 0xF4) return {3, 0x80, 0x8F};  // nothing past U+10FFFF
  return {-1, 0, 0};
}

}  // namespace

void Utf8Check::Feed(const char* data, size_t size) {
  for (size_t i = 0; i < size && valid_; ++i) {
    const auto byte = static_cast<uint8_t>(data[i]);
    if (pending_ > 0) {
      valid_ = byte >= low_ && byte <= high_;
      --pending_;
      low_ = 0x80;
      high_ = 0xBF;
      continue;
    }
    const Lead lead = ReadLead(byte);
    valid_ = lead.following >= 0;
    pending_ = lead.following > 0 ? lead.following : 0;
    low_ = lead.low;
    high_ = lead.high;
  }
}

bool IsWellFormedUtf8(std::string_view text) {
  Utf8Check check;
  check.Feed(text.data(), text.size());
  return check.Finish();
}

size_t Utf16Length(std::string_view utf8) {
  size_t units = 0;
  for (const char c : utf8) {
    const auto byte = static_cast<uint8_t>(c);
    if ((byte & 0xC0) != 0x80) ++units;  // each lead byte begins a character
    if (byte >= 0xF0) ++units;           // four bytes: a pair of surrogates
  }
  return units;
}

bool FitsSystemPath(std::string_view utf8) { return Utf16Length(utf8) < kPathUnits; }

}  // namespace artwheel
