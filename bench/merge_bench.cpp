// HudProbe's merge and comparison at full capacity, against the straight
// first-match scan on smaller sets (it grows with the square of the size).
// Native; run: build/merge_bench
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <random>
#include <vector>

#include "../tests/unit/first_match_scan.h"
#include "diagnostics/hud_sets.h"

namespace {

using Clock = std::chrono::steady_clock;
using artwheel::GlobalFieldSample;

std::vector<GlobalFieldSample> Fields(size_t count, uint32_t seed) {
  std::mt19937 random(seed);
  std::vector<GlobalFieldSample> fields(count);
  for (size_t i = 0; i < count; ++i) {
    fields[i] = {static_cast<uint32_t>(0x3B000 + 8 * (i / 128)),
                 static_cast<uint32_t>(4 * (i % 128)), static_cast<uint32_t>(random() % 4)};
  }
  std::shuffle(fields.begin(), fields.end(), random);
  return fields;
}

double Milliseconds(Clock::time_point start) {
  return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

}  // namespace

int main() {
  constexpr size_t kFull = artwheel::kMaxGlobalFields;
  std::vector<GlobalFieldSample> stable = Fields(kFull, 1);
  const std::vector<GlobalFieldSample> capture = Fields(kFull, 2);
  auto start = Clock::now();
  const int kept = artwheel::IntersectGlobalFields(stable.data(), kFull, capture.data(), kFull);
  const double indexedFull = Milliseconds(start);

  artwheel::BuildHiddenFieldIndex(capture.data(), kFull);
  start = Clock::now();
  int lines =
      artwheel::CompareGlobalFields(stable.data(), kept, capture.data(), false, 1 << 30,
                                    [](const GlobalFieldSample&, const GlobalFieldSample&) {});
  const double compareFull = Milliseconds(start);

  constexpr size_t kSmall = 20000;
  std::vector<GlobalFieldSample> smallStable = Fields(kSmall, 3);
  const std::vector<GlobalFieldSample> smallCapture = Fields(kSmall, 4);
  std::vector<GlobalFieldSample> smallCopy = smallStable;
  start = Clock::now();
  const int quadraticKept = artwheel::FirstMatchScanIntersect(smallCopy, smallCapture);
  const double quadraticSmall = Milliseconds(start);
  start = Clock::now();
  const int indexedKept =
      artwheel::IntersectGlobalFields(smallStable.data(), kSmall, smallCapture.data(), kSmall);
  const double indexedSmall = Milliseconds(start);

  const double scale = double(kFull) / kSmall;
  std::printf("globalFields merge (%zu stable x %zu captured, %d kept): %.2f ms indexed\n", kFull,
              kFull, kept, indexedFull);
  std::printf("globalFields comparison pass over %d pairs (%d matches): %.2f ms indexed\n", kept,
              lines, compareFull);
  std::printf("at %zu: first-match scan %.1f ms, indexed %.2f ms (same result: %s), ratio %.0fx\n",
              kSmall, quadraticSmall, indexedSmall, quadraticKept == indexedKept ? "yes" : "NO",
              quadraticSmall / indexedSmall);
  std::printf("first-match scan at %zu, extrapolated (x%.0f): %.0f ms; ratio to indexed %.0fx\n",
              kFull, scale * scale, quadraticSmall * scale * scale,
              quadraticSmall * scale * scale / indexedFull);
  return quadraticKept == indexedKept ? 0 : 1;
}
