#include "input/table_redirect.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>

namespace artwheel {
namespace {

int detourTarget = 0;
void* const kDetour = &detourTarget;

// A patch that takes its time, as changing a page's protection does, so that
// racing first calls overlap.
bool SlowPatch(void** slot, void* value) {
  std::this_thread::sleep_for(std::chrono::microseconds(200));
  *slot = value;
  return true;
}

bool RefusedPatch(void**, void*) { return false; }

// Two providers' interfaces, each with its own table, created at once on two
// threads: one table is redirected, and the saved original is its own entry.
TEST(TableRedirect, RacingFirstCallsPatchOneTableAndSaveItsEntry) {
  for (int round = 0; round < 50; ++round) {
    int originalA = 0;
    int originalB = 0;
    void* tableA[1] = {&originalA};
    void* tableB[1] = {&originalB};
    TableRedirect redirect;
    std::atomic<int> ready{0};
    auto first = [&](void** slot) {
      ++ready;
      while (ready.load() < 2) {
      }
      redirect.Redirect(slot, kDetour, SlowPatch);
    };
    std::thread a(first, tableA);
    std::thread b(first, tableB);
    a.join();
    b.join();
    ASSERT_TRUE(redirect.redirected());
    const bool patchedA = tableA[0] == kDetour;
    const bool patchedB = tableB[0] == kDetour;
    ASSERT_NE(patchedA, patchedB) << "round " << round;
    EXPECT_EQ(redirect.original(), patchedA ? static_cast<void*>(&originalA) : &originalB)
        << "round " << round;
  }
}

TEST(TableRedirect, ARefusedPatchSavesNothingAndTheNextCallTriesAgain) {
  int original = 0;
  void* table[1] = {&original};
  TableRedirect redirect;
  EXPECT_EQ(redirect.Redirect(table, kDetour, RefusedPatch), TableRedirect::Outcome::kFailed);
  EXPECT_EQ(redirect.original(), nullptr);
  EXPECT_FALSE(redirect.redirected());
  EXPECT_EQ(redirect.Redirect(table, kDetour, SlowPatch), TableRedirect::Outcome::kRedirected);
  EXPECT_EQ(redirect.original(), &original);
  EXPECT_EQ(redirect.Redirect(table, kDetour, SlowPatch),
            TableRedirect::Outcome::kAlreadyRedirected);
  EXPECT_EQ(redirect.original(), &original);  // never the detour itself
}

}  // namespace
}  // namespace artwheel
