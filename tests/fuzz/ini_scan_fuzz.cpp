// The configuration file's line scanner against the file's rules applied to
// whole lines, in any section or in one, fed in random pieces, into a caller's
// buffer of random size; and the UTF-8 check that decides the file's encoding
// against a decoder of its own.
#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <string_view>

#include "base/ini_scan.h"
#include "base/ini_text.h"
#include "base/utf8_text.h"
#include "fuzz_check.h"

namespace artwheel {
namespace {

struct Expected {
  IniScanResult result = IniScanResult::kNotFound;
  std::string value;
};

// Line by line after the UTF-8 mark: trimmed, comments skipped, a header
// naming the section up to its first ']' (trimmed, compared without case), the
// key before the first '=' trimmed and compared without case, the value
// comment-stripped. An empty section: every line outside headers counts.
Expected ScanWholeLines(std::string_view text, std::string_view section, std::string_view key,
                        size_t outSize) {
  if (text.substr(0, 3) == "\xEF\xBB\xBF") text.remove_prefix(3);
  bool inSection = section.empty();
  size_t begin = 0;
  while (begin <= text.size()) {
    size_t end = text.find('\n', begin);
    if (end == std::string_view::npos) end = text.size();
    const std::string_view line = TrimIni(text.substr(begin, end - begin));
    begin = end + 1;
    if (!line.empty() && line[0] == '[' && !section.empty()) {
      const std::string_view name = line.substr(1, line.find(']') - 1);
      inSection = EqualsIgnoreCaseAscii(TrimIni(name), section);
      continue;
    }
    if (!inSection || line.empty() || line[0] == '#' || line[0] == ';' || line[0] == '[') continue;
    const size_t equals = line.find('=');
    if (equals == std::string_view::npos) continue;
    if (!EqualsIgnoreCaseAscii(TrimIni(line.substr(0, equals)), key)) continue;
    const std::string_view value = StripInlineComment(line.substr(equals + 1));
    if (value.find('\0') != std::string_view::npos) return {IniScanResult::kHasNul, ""};
    if (outSize == 0 || value.size() >= outSize) return {IniScanResult::kRejected, ""};
    return {IniScanResult::kFound, std::string(value)};
  }
  return {};
}

bool ParseBoolByWords(std::string_view text) {
  std::string lower(text);
  for (char& c : lower) c = (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
  return lower == "true" || lower == "1" || lower == "yes" || lower == "on";
}

constexpr const char* kKeys[] = {"IsDebug", "chainDInput8dllPath"};
constexpr const char* kSections[] = {"", "", "Chainload", "General"};

// Well-formed UTF-8 by decoding: each character's value from its bytes, then
// its length, range and surrogates checked.
bool DecodesAsUtf8(std::string_view text, size_t* units) {
  *units = 0;
  for (size_t i = 0; i < text.size();) {
    const auto lead = static_cast<uint8_t>(text[i]);
    const size_t length = lead < 0x80       ? 1
                          : lead >> 5 == 6  ? 2
                          : lead >> 4 == 14 ? 3
                          : lead >> 3 == 30 ? 4
                                            : 0;
    if (length == 0 || i + length > text.size()) return false;
    uint32_t value = length == 1 ? lead : lead & (0x7F >> length);
    for (size_t k = 1; k < length; ++k) {
      const auto next = static_cast<uint8_t>(text[i + k]);
      if (next >> 6 != 2) return false;
      value = value << 6 | (next & 0x3F);
    }
    const uint32_t least[] = {0, 0, 0x80, 0x800, 0x10000};
    if (value < least[length] || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF)) {
      return false;
    }
    *units += value > 0xFFFF ? 2 : 1;
    i += length;
  }
  return true;
}

}  // namespace
}  // namespace artwheel

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace artwheel;
  FuzzedDataProvider input(data, size);
  const uint8_t keyChoice = input.ConsumeIntegral<uint8_t>();
  const std::string ownKey = input.ConsumeRandomLengthString(64);
  const std::string_view key =
      (keyChoice & 0x3F) < 2 ? std::string_view(kKeys[keyChoice & 0x3F]) : std::string_view(ownKey);
  const std::string_view section = kSections[keyChoice >> 6];  // none, none, [Chainload], [General]
  const size_t outSize = input.ConsumeIntegralInRange<size_t>(0, 300);
  const uint32_t pieceSeed = input.ConsumeIntegral<uint32_t>();
  const std::string text = input.ConsumeRemainingBytesAsString();

  const Expected expected = ScanWholeLines(text, section, key, outSize);

  fuzz::GuardedBuffer out(outSize);
  IniKeyScanner scanner(section, key, out.chars(), outSize);
  Utf8Check check;
  size_t at = 0;
  uint32_t seed = pieceSeed | 1;
  while (at < text.size()) {
    seed = seed * 1103515245u + 12345u;
    const size_t piece = std::min<size_t>(text.size() - at, 1 + (seed >> 16) % 97);
    check.Feed(text.data() + at, piece);
    scanner.Feed(text.data() + at, piece);
    at += piece;
  }
  const IniScanResult result = scanner.Finish();

  size_t units = 0;
  const bool utf8 = DecodesAsUtf8(text, &units);
  FUZZ_CHECK(check.Finish() == utf8);
  FUZZ_CHECK(IsWellFormedUtf8(text) == utf8);
  if (utf8) FUZZ_CHECK(Utf16Length(text) == units);

  FUZZ_CHECK(out.GuardsIntact());
  FUZZ_CHECK(result == expected.result);
  if (outSize > 0) {
    FUZZ_CHECK(std::memchr(out.chars(), '\0', outSize) != nullptr);
    FUZZ_CHECK(std::string_view(out.chars()) == expected.value);
  }

  // The value words that switch logging on.
  FUZZ_CHECK(ParseBool(expected.value) == ParseBoolByWords(expected.value));
  FUZZ_CHECK(ParseBool(text) == ParseBoolByWords(text));
  const std::string_view stripped = StripInlineComment(text);
  FUZZ_CHECK(stripped.size() <= text.size());
  FUZZ_CHECK(TrimIni(stripped) == stripped);
  return 0;
}
