// The configuration file's line scanner against the file's rules applied to
// whole lines, fed in random pieces, into a caller's buffer of random size.
#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <string_view>

#include "base/ini_scan.h"
#include "base/ini_text.h"
#include "fuzz_check.h"

namespace artwheel {
namespace {

struct Expected {
  IniScanResult result = IniScanResult::kNotFound;
  std::string value;
};

// Line by line: trimmed, comments and section headers skipped, the key before
// the first '=' trimmed and compared without case, the value comment-stripped.
Expected ScanWholeLines(std::string_view text, std::string_view key, size_t outSize) {
  size_t begin = 0;
  while (begin <= text.size()) {
    size_t end = text.find('\n', begin);
    if (end == std::string_view::npos) end = text.size();
    const std::string_view line = TrimIni(text.substr(begin, end - begin));
    begin = end + 1;
    if (line.empty() || line[0] == '#' || line[0] == ';' || line[0] == '[') continue;
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

}  // namespace
}  // namespace artwheel

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace artwheel;
  FuzzedDataProvider input(data, size);
  const uint8_t keyChoice = input.ConsumeIntegral<uint8_t>();
  const std::string ownKey = input.ConsumeRandomLengthString(64);
  const std::string_view key =
      keyChoice < 2 ? std::string_view(kKeys[keyChoice]) : std::string_view(ownKey);
  const size_t outSize = input.ConsumeIntegralInRange<size_t>(0, 300);
  const uint32_t pieceSeed = input.ConsumeIntegral<uint32_t>();
  const std::string text = input.ConsumeRemainingBytesAsString();

  const Expected expected = ScanWholeLines(text, key, outSize);

  fuzz::GuardedBuffer out(outSize);
  IniKeyScanner scanner(key, out.chars(), outSize);
  size_t at = 0;
  uint32_t seed = pieceSeed | 1;
  while (at < text.size()) {
    seed = seed * 1103515245u + 12345u;
    const size_t piece = std::min<size_t>(text.size() - at, 1 + (seed >> 16) % 97);
    if (scanner.Feed(text.data() + at, piece)) break;
    at += piece;
  }
  const IniScanResult result = scanner.Finish();

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
