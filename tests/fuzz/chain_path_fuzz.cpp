// The chain path rules and the host's executable name on any text: quotes
// removed only in pairs, absolute or joined to the folder, never past the
// caller's buffer.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstring>
#include <string>
#include <string_view>

#include "app/chain_path.h"
#include "fuzz_check.h"
#include "game/host_name.h"

namespace artwheel {
namespace {

bool IsSeparator(char c) { return c == '\\' || c == '/'; }

bool AbsoluteByRule(std::string_view path) {
  if (path.size() < 3) return false;
  return (path[1] == ':' && IsSeparator(path[2])) || (path[0] == '\\' && path[1] == '\\');
}

}  // namespace
}  // namespace artwheel

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace artwheel;
  FuzzedDataProvider input(data, size);
  const size_t outSize = input.ConsumeIntegralInRange<size_t>(0, 1400);
  const std::string folder = input.ConsumeRandomLengthString(300);
  const std::string raw = input.ConsumeRemainingBytesAsString();
  const std::string value(raw.c_str());  // as the profile functions hand it over

  // Quotes: one enclosing pair goes, nothing else changes.
  std::string unquoted = value;
  RemoveSurroundingQuotes(unquoted.data());
  unquoted.resize(std::strlen(unquoted.c_str()));
  const bool quoted = value.size() >= 2 && value.front() == '"' && value.back() == '"';
  FUZZ_CHECK(unquoted == (quoted ? value.substr(1, value.size() - 2) : value));

  FUZZ_CHECK(IsAbsolutePath(unquoted.c_str()) == AbsoluteByRule(unquoted));
  const std::string expected = AbsoluteByRule(unquoted) ? unquoted : folder.c_str() + unquoted;
  fuzz::GuardedBuffer out(outSize);
  const int length = ComposeChainPath(folder.c_str(), unquoted.c_str(), out.chars(), outSize);
  FUZZ_CHECK(out.GuardsIntact());
  if (expected.size() < outSize) {
    FUZZ_CHECK(length == static_cast<int>(expected.size()));
    FUZZ_CHECK(std::string_view(out.chars()) == expected);
  } else {
    FUZZ_CHECK(length == -1);
    FUZZ_CHECK(outSize == 0 || out.chars()[0] == '\0');
  }

  // The executable's name: the text after the last separator of either kind.
  const std::string_view name = ExecutableFileName(raw);
  FUZZ_CHECK(name.size() <= raw.size());
  FUZZ_CHECK(raw.compare(raw.size() - name.size(), name.size(), name) == 0);
  FUZZ_CHECK(name.find_first_of("\\/") == std::string_view::npos);
  FUZZ_CHECK(name.size() == raw.size() || IsSeparator(raw[raw.size() - name.size() - 1]));
  FUZZ_CHECK(IsHostExecutablePath(raw) == (name.size() == 10 && IsHostExecutablePath(name)));
  return 0;
}
