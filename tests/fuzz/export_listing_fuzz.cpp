// The log's listing of a chained library's export names, for names of any
// length and number: the names that fit whole, in order, then ", ...".
#include <cstring>
#include <string>
#include <vector>

#include "app/export_listing.h"
#include "fuzz_check.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace artwheel;
  // The names of an export table: NUL-terminated texts one after another.
  std::vector<std::string> names;
  const char* text = reinterpret_cast<const char*>(data);
  for (size_t at = 0; at < size;) {
    const size_t length = strnlen(text + at, size - at);
    names.emplace_back(text + at, length);
    at += length + 1;
  }

  ExportListing listing;
  std::string expected;
  bool closed = false;
  bool first = true;
  for (const std::string& name : names) {
    const bool taken = listing.Add(name.c_str());
    const std::string joined = first ? name : expected + ", " + name;
    if (taken) {
      FUZZ_CHECK(!closed);
      FUZZ_CHECK(joined.size() < kExportListingSoftLimit);
      expected = joined;
      first = false;
      continue;
    }
    if (!closed) {
      // A name that does not fit with room for the closing mark is left out
      // whole; one that reaches the limit is kept and closes the listing.
      if (joined.size() + 5 < kExportListingSize) expected = joined;
      expected += ", ...";
      closed = true;
    }
  }
  const char* result = listing.text();
  FUZZ_CHECK(std::memchr(result, '\0', kExportListingSize) != nullptr);
  FUZZ_CHECK(std::string(result) == expected);
  return 0;
}
