#include "base/log_hand_over.h"

#include <gtest/gtest.h>

#include <atomic>
#include <memory>
#include <string>
#include <thread>
#include <vector>

namespace artwheel {
namespace {

// As a copy of the library finds the shared one first: zeroed memory.
std::unique_ptr<HandOverRing> FreshRing() { return std::make_unique<HandOverRing>(); }

bool HandOver(HandOverRing& ring, uint32_t thread, const std::string& line) {
  return HandOverLine(ring, thread, line.data(), line.size());
}

std::string Take(HandOverRing& ring) {
  char text[kHandOverLineSize];
  size_t length = 0;
  if (!TakeHandedOverLine(ring, text, &length)) return "(none)";
  return std::string(text, length);
}

TEST(LogHandOver, KeepsLinesInOrderAcrossManyRoundsAndRefusesWhenFull) {
  auto ring = FreshRing();
  EXPECT_FALSE(AnyLineHandedOver(*ring));
  EXPECT_EQ(Take(*ring), "(none)");
  for (int round = 0; round < 3; ++round) {
    for (uint32_t i = 0; i < kHandOverCapacity; ++i) {
      EXPECT_TRUE(HandOver(*ring, 7, "line " + std::to_string(round) + "." + std::to_string(i)));
    }
    EXPECT_FALSE(HandOver(*ring, 7, "no room"));
    EXPECT_TRUE(AnyLineHandedOver(*ring));
    EXPECT_EQ(Take(*ring), "line " + std::to_string(round) + ".0");
    EXPECT_TRUE(HandOver(*ring, 7, "into the freed slot"));
    for (uint32_t i = 1; i < kHandOverCapacity; ++i) {
      EXPECT_EQ(Take(*ring), "line " + std::to_string(round) + "." + std::to_string(i));
    }
    EXPECT_EQ(Take(*ring), "into the freed slot");
    EXPECT_FALSE(AnyLineHandedOver(*ring));
  }
}

TEST(LogHandOver, RefusesALineLongerThanASlot) {
  auto ring = FreshRing();
  EXPECT_TRUE(HandOver(*ring, 1, std::string(kHandOverLineSize, 'x')));
  EXPECT_FALSE(HandOver(*ring, 1, std::string(kHandOverLineSize + 1, 'x')));
  EXPECT_EQ(Take(*ring), std::string(kHandOverLineSize, 'x'));
}

TEST(LogHandOver, KnowsWhichThreadsStillHaveALineWaiting) {
  auto ring = FreshRing();
  HandOver(*ring, 1, "one");
  HandOver(*ring, 2, "two");
  EXPECT_TRUE(LinesOfThreadWaiting(*ring, 1));
  EXPECT_TRUE(LinesOfThreadWaiting(*ring, 2));
  EXPECT_FALSE(LinesOfThreadWaiting(*ring, 3));
  Take(*ring);
  EXPECT_FALSE(LinesOfThreadWaiting(*ring, 1));
  EXPECT_TRUE(LinesOfThreadWaiting(*ring, 2));
  Take(*ring);
  EXPECT_FALSE(LinesOfThreadWaiting(*ring, 2));
}

TEST(LogHandOver, CountsDroppedLinesUntilTakenAndItsWriters) {
  auto ring = FreshRing();
  EXPECT_EQ(TakeDroppedLines(*ring), 0u);
  CountDroppedLine(*ring);
  CountDroppedLine(*ring);
  EXPECT_EQ(TakeDroppedLines(*ring), 2u);
  EXPECT_EQ(TakeDroppedLines(*ring), 0u);
  EXPECT_FALSE(AnyHandOverWriter(*ring));
  AddHandOverWriter(*ring);
  EXPECT_TRUE(AnyHandOverWriter(*ring));
}

// Game threads hand over while one of ours takes, without a lock: every line
// comes out once, whole, each thread's in its order, or was refused.
TEST(LogHandOver, ThreadsHandingOverAndTakingAtOnceLoseNoLineAndKeepEachThreadsOrder) {
  auto ring = FreshRing();
  constexpr int kThreads = 3;
  constexpr int kLines = 20000;
  std::atomic<int> refused{0};
  std::atomic<int> handing{kThreads};
  std::vector<std::thread> threads;
  threads.reserve(kThreads);
  for (int t = 0; t < kThreads; ++t) {
    threads.emplace_back([&, t] {
      for (int i = 0; i < kLines; ++i) {
        if (!HandOver(*ring, static_cast<uint32_t>(t),
                      std::to_string(t) + " " + std::to_string(i))) {
          ++refused;
        }
      }
      --handing;
    });
  }
  std::vector<int> next(kThreads, 0);
  std::atomic<int> taken{0};
  std::atomic<bool> outOfOrder{false};
  auto taker = [&] {
    char text[kHandOverLineSize];
    size_t length = 0;
    while (handing > 0 || AnyLineHandedOver(*ring)) {
      if (!TakeHandedOverLine(*ring, text, &length)) continue;
      const std::string line(text, length);
      const int thread = line[0] - '0';
      const int number = std::stoi(line.substr(2));
      const int seen = next[static_cast<size_t>(thread)];
      if (number < seen) outOfOrder = true;
      next[static_cast<size_t>(thread)] = number;
      ++taken;
    }
  };
  std::thread worker(taker);
  for (std::thread& thread : threads) thread.join();
  worker.join();
  EXPECT_FALSE(outOfOrder);
  EXPECT_EQ(taken + refused, kThreads * kLines);
  EXPECT_FALSE(AnyLineHandedOver(*ring));
}

}  // namespace
}  // namespace artwheel
