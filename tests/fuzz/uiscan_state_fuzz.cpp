// UIScan's Detail table against a plain map of the words seen, up to and past
// its capacity, and the changed list of the watched fields for any values.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstring>
#include <memory>
#include <string>
#include <unordered_map>

#include "diagnostics/watch_state.h"
#include "fuzz_check.h"

namespace artwheel {
namespace {

using Result = ScannerStateTable::Result;

Result Expect(std::unordered_map<uint64_t, uint32_t>& seen, uint64_t address, uint32_t value,
              uint32_t* previous) {
  const auto found = seen.find(address);
  if (found == seen.end()) {
    if (seen.size() == ScannerStateTable::kCapacity) return Result::kFull;
    seen.emplace(address, value);
    return Result::kFirstSighting;
  }
  if (found->second == value) return Result::kUnchanged;
  *previous = found->second;
  found->second = value;
  return Result::kChanged;
}

void Track(ScannerStateTable& table, std::unordered_map<uint64_t, uint32_t>& seen, uint64_t address,
           uint32_t value) {
  uint32_t previous = 0xDEADBEEF;
  uint32_t expectedPrevious = 0xDEADBEEF;
  const Result result = table.Track(address, value, &previous);
  FUZZ_CHECK(result == Expect(seen, address, value, &expectedPrevious));
  FUZZ_CHECK(previous == expectedPrevious);
}

WatchSnapshot Snapshot(FuzzedDataProvider& input) {
  WatchSnapshot snapshot = {};
  for (uint32_t& v : snapshot.menu) v = input.ConsumeBool() ? 0 : input.ConsumeIntegral<uint32_t>();
  for (uint32_t& v : snapshot.player)
    v = input.ConsumeBool() ? 0 : input.ConsumeIntegral<uint32_t>();
  return snapshot;
}

size_t Count(const char* text, const char* what) {
  size_t n = 0;
  for (const char* at = std::strstr(text, what); at != nullptr; at = std::strstr(at + 1, what)) ++n;
  return n;
}

void CheckChangedList(FuzzedDataProvider& input) {
  const bool havePrevious = input.ConsumeBool();
  const bool playerValid = input.ConsumeBool();
  const WatchSnapshot previous = Snapshot(input);
  const WatchSnapshot current = input.ConsumeBool() ? previous : Snapshot(input);
  char list[kChangedListSize + 1];
  list[kChangedListSize] = '\x5A';
  const bool due = BuildChangedList(havePrevious, previous, current, playerValid,
                                    *reinterpret_cast<char(*)[kChangedListSize]>(list));
  FUZZ_CHECK(list[kChangedListSize] == '\x5A');
  FUZZ_CHECK(std::memchr(list, '\0', kChangedListSize) != nullptr);
  size_t menuChanged = 0;
  size_t playerChanged = 0;
  for (int i = 0; i < kWatchedMenuCount; ++i)
    menuChanged += !havePrevious || previous.menu[i] != current.menu[i];
  for (int i = 0; playerValid && i < kWatchedPlayerCount; ++i)
    playerChanged += !havePrevious || previous.player[i] != current.player[i];
  FUZZ_CHECK(due == (!havePrevious || menuChanged + playerChanged > 0));
  FUZZ_CHECK(Count(list, "+0x") == menuChanged + playerChanged);  // no item lost
  FUZZ_CHECK(Count(list, "PGD+0x") == playerChanged);
  FUZZ_CHECK(Count(list, "->") == (havePrevious ? menuChanged + playerChanged : 0));
}

}  // namespace
}  // namespace artwheel

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace artwheel;
  FuzzedDataProvider input(data, size);
  auto table = std::make_unique<ScannerStateTable>();
  std::unordered_map<uint64_t, uint32_t> seen;
  // Enough whole-object passes to run the table past its capacity, no more.
  uint32_t detailWords = 0;
  while (input.remaining_bytes() > 0) {
    switch (input.ConsumeIntegralInRange<int>(0, 3)) {
      case 0:  // a word near the others
        Track(*table, seen, 0x140000000ull + 4 * input.ConsumeIntegralInRange<uint64_t>(0, 64),
              input.ConsumeIntegralInRange<uint32_t>(0, 3));
        break;
      case 1:  // any word
        Track(*table, seen, input.ConsumeIntegral<uint64_t>(), input.ConsumeIntegral<uint32_t>());
        break;
      case 2: {  // a Detail pass over a whole object
        const uint64_t base = input.ConsumeIntegral<uint64_t>() & ~7ull;
        const uint32_t words = input.ConsumeIntegralInRange<uint32_t>(1, 800);
        if (detailWords > ScannerStateTable::kCapacity + 800) break;
        detailWords += words;
        const uint32_t value = input.ConsumeIntegral<uint32_t>();
        for (uint32_t i = 0; i < words; ++i) Track(*table, seen, base + 4ull * i, value + (i & 1));
        break;
      }
      default:
        CheckChangedList(input);
        break;
    }
  }
  return 0;
}
