// HudProbe's merges and comparisons through the shared key index, against the
// plain "first entry with the same key" scans, on sets whose keys repeat.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstring>
#include <vector>

#include "diagnostics/hud_sets.h"
#include "fuzz_check.h"

namespace artwheel {
namespace {

template <typename Record, typename Key>
const Record* FirstMatch(const std::vector<Record>& set, const Record& wanted, Key key) {
  for (const Record& r : set) {
    if (key(r) == key(wanted)) return &r;
  }
  return nullptr;
}

// Keys from a small range so that sets share and repeat them, or any key.
uint64_t Key(FuzzedDataProvider& input, bool wide) {
  return input.ConsumeBool()
             ? input.ConsumeIntegralInRange<uint64_t>(0, 40)
             : (wide ? input.ConsumeIntegral<uint64_t>() : input.ConsumeIntegral<uint32_t>());
}

uint32_t Value(FuzzedDataProvider& input) {
  switch (input.ConsumeIntegralInRange<int>(0, 3)) {
    case 0:
      return input.ConsumeIntegralInRange<uint32_t>(0, 2);
    case 1:
      return kFloatOne;
    case 2:
      return 0xFFFFFFFF;
    default:
      return input.ConsumeIntegral<uint32_t>();
  }
}

std::vector<HudSample> Samples(FuzzedDataProvider& input) {
  std::vector<HudSample> set(input.ConsumeIntegralInRange<size_t>(0, 64));
  for (HudSample& s : set) {
    s = {};
    s.address = Key(input, true);
    s.value = Value(input);
  }
  return set;
}

std::vector<GlobalFieldSample> Fields(FuzzedDataProvider& input) {
  std::vector<GlobalFieldSample> set(input.ConsumeIntegralInRange<size_t>(0, 64));
  for (GlobalFieldSample& s : set) {
    s.ptrRva = input.ConsumeIntegralInRange<uint32_t>(0, 3);
    s.offset = static_cast<uint32_t>(Key(input, false));
    s.value = Value(input);
  }
  return set;
}

std::vector<PointerOffsetSample> Pointers(FuzzedDataProvider& input) {
  std::vector<PointerOffsetSample> set(input.ConsumeIntegralInRange<size_t>(0, 64));
  for (PointerOffsetSample& s : set) {
    s.offset = static_cast<uint32_t>(Key(input, false));
    s.value = input.ConsumeIntegral<uint64_t>();
    s.readable = input.ConsumeBool();
  }
  return set;
}

void CheckSamples(FuzzedDataProvider& input) {
  std::vector<HudSample> stable = Samples(input);
  const std::vector<HudSample> capture = Samples(input);
  auto address = [](const HudSample& s) { return s.address; };
  std::vector<HudSample> expected;
  for (const HudSample& s : stable) {
    const HudSample* match = FirstMatch(capture, s, address);
    if (match != nullptr && s.address != 0 && match->value == s.value) expected.push_back(s);
  }
  const int kept = IntersectSamples(stable.data(), static_cast<int>(stable.size()), capture.data(),
                                    static_cast<int>(capture.size()));
  FUZZ_CHECK(kept == static_cast<int>(expected.size()));
  for (int i = 0; i < kept; ++i) {
    FUZZ_CHECK(stable[i].address == expected[i].address && stable[i].value == expected[i].value);
  }

  // The comparison of the kept set against the capture taken as hidden.
  const auto sampleClass = static_cast<SampleClass>(input.ConsumeIntegralInRange<int>(0, 2));
  const int limit = input.ConsumeIntegralInRange<int>(0, 80);
  std::vector<std::pair<uint64_t, uint64_t>> wanted;
  for (int i = 0; i < kept && static_cast<int>(wanted.size()) < limit; ++i) {
    if (stable[i].address == 0) continue;
    const HudSample* match = FirstMatch(capture, stable[i], address);
    if (match == nullptr || !SampleClassHolds(sampleClass, stable[i].value, match->value)) continue;
    wanted.emplace_back(stable[i].address, match - capture.data());
  }
  BuildHiddenSampleIndex(capture.data(), static_cast<int>(capture.size()));
  std::vector<std::pair<uint64_t, uint64_t>> emitted;
  const int count = CompareSamples(stable.data(), kept, capture.data(), sampleClass, limit,
                                   [&](const HudSample& v, const HudSample& h) {
                                     emitted.emplace_back(v.address, &h - capture.data());
                                   });
  FUZZ_CHECK(count == static_cast<int>(emitted.size()));
  FUZZ_CHECK(emitted == wanted);
}

void CheckFields(FuzzedDataProvider& input) {
  std::vector<GlobalFieldSample> stable = Fields(input);
  const std::vector<GlobalFieldSample> capture = Fields(input);
  auto key = [](const GlobalFieldSample& s) { return FieldKey(s.ptrRva, s.offset); };
  std::vector<GlobalFieldSample> expected;
  for (const GlobalFieldSample& s : stable) {
    const GlobalFieldSample* match = FirstMatch(capture, s, key);
    if (match != nullptr && match->value == s.value) expected.push_back(s);
  }
  const int kept = IntersectGlobalFields(stable.data(), static_cast<int>(stable.size()),
                                         capture.data(), static_cast<int>(capture.size()));
  FUZZ_CHECK(kept == static_cast<int>(expected.size()));
  for (int i = 0; i < kept; ++i) FUZZ_CHECK(key(stable[i]) == key(expected[i]));

  const bool floatClass = input.ConsumeBool();
  const uint32_t one = floatClass ? kFloatOne : 1;
  int wanted = 0;
  for (int i = 0; i < kept; ++i) {
    const GlobalFieldSample* match = FirstMatch(capture, stable[i], key);
    wanted += stable[i].value == one && match != nullptr && match->value == 0;
  }
  BuildHiddenFieldIndex(capture.data(), static_cast<int>(capture.size()));
  const int count = CompareGlobalFields(stable.data(), kept, capture.data(), floatClass, 1 << 20,
                                        [](const GlobalFieldSample&, const GlobalFieldSample&) {});
  FUZZ_CHECK(count == wanted);
}

void CheckPointers(FuzzedDataProvider& input) {
  std::vector<PointerOffsetSample> stable = Pointers(input);
  const std::vector<PointerOffsetSample> capture = Pointers(input);
  auto offset = [](const PointerOffsetSample& s) { return s.offset; };
  std::vector<PointerOffsetSample> expected;
  for (const PointerOffsetSample& s : stable) {
    const PointerOffsetSample* match = FirstMatch(capture, s, offset);
    if (match != nullptr && match->readable == s.readable) {
      expected.push_back({s.offset, match->value, s.readable});
    }
  }
  const int kept = IntersectPointerOffsets(stable.data(), static_cast<int>(stable.size()),
                                           capture.data(), static_cast<int>(capture.size()));
  FUZZ_CHECK(kept == static_cast<int>(expected.size()));
  for (int i = 0; i < kept; ++i) {
    FUZZ_CHECK(stable[i].offset == expected[i].offset && stable[i].value == expected[i].value);
  }
  int wanted = 0;
  for (int i = 0; i < kept; ++i) {
    const PointerOffsetSample* match = FirstMatch(capture, stable[i], offset);
    wanted += stable[i].readable && match != nullptr && !match->readable;
  }
  const int count =
      ComparePointerOffsets(stable.data(), kept, capture.data(), static_cast<int>(capture.size()),
                            1 << 20, [](const PointerOffsetSample&, const PointerOffsetSample&) {});
  FUZZ_CHECK(count == wanted);
}

}  // namespace
}  // namespace artwheel

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace artwheel;
  FuzzedDataProvider input(data, size);
  for (int round = 0; round < 8 && input.remaining_bytes() > 0; ++round) {
    switch (input.ConsumeIntegralInRange<int>(0, 2)) {
      case 0:
        CheckSamples(input);
        break;
      case 1:
        CheckFields(input);
        break;
      default:
        CheckPointers(input);
        break;
    }
  }
  return 0;
}
