#include "base/patch.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>

namespace artwheel {
namespace {

int detourTarget = 0;
void* const kDetour = &detourTarget;

// A store that takes its time, as changing a page's protection does, so that
// racing first calls overlap.
bool SlowStore(void** entry, void* value, TableKind) {
  std::this_thread::sleep_for(std::chrono::microseconds(200));
  *entry = value;
  return true;
}

bool RefusedStore(void**, void*, TableKind) { return false; }

// Two providers' interfaces, each with its own table, created at once on two
// threads: one table is redirected, and the saved original is its own entry.
TEST(RedirectOnce, RacingFirstCallsPatchOneTableAndSaveItsEntry) {
  for (int round = 0; round < 50; ++round) {
    int originalA = 0;
    int originalB = 0;
    void* tableA[1] = {&originalA};
    void* tableB[1] = {&originalB};
    RedirectOnce redirect;
    std::atomic<int> ready{0};
    auto first = [&](void** entry) {
      ++ready;
      while (ready.load() < 2) {
      }
      redirect.Redirect(entry, kDetour, TableKind::kMethod, SlowStore);
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
    EXPECT_EQ(redirect.entry(), patchedA ? &tableA[0] : &tableB[0]) << "round " << round;
  }
}

TEST(RedirectOnce, ARefusedStoreSavesNothingAndTheNextCallTriesAgain) {
  int original = 0;
  void* table[1] = {&original};
  RedirectOnce redirect;
  EXPECT_EQ(redirect.Redirect(table, kDetour, TableKind::kMethod, RefusedStore),
            PatchStatus::kRefused);
  EXPECT_EQ(redirect.original(), nullptr);
  EXPECT_EQ(redirect.entry(), nullptr);
  EXPECT_FALSE(redirect.redirected());
  EXPECT_EQ(redirect.Redirect(table, kDetour, TableKind::kMethod, SlowStore),
            PatchStatus::kRedirected);
  EXPECT_EQ(redirect.original(), &original);
  EXPECT_EQ(redirect.Redirect(table, kDetour, TableKind::kMethod, SlowStore),
            PatchStatus::kAlreadyRedirected);
  EXPECT_EQ(redirect.original(), &original);  // never the detour itself
}

// An entry that leads to the detour already, through no redirection of ours:
// nothing is saved, and a caller that needs the original learns it is unknown.
TEST(RedirectEntry, TellsAKnownRedirectionFromOneWhoseOriginalIsUnknown) {
  int original = 0;
  void* entry = &original;
  std::atomic<void*> saved{nullptr};
  EXPECT_EQ(RedirectEntry(&entry, kDetour, TableKind::kImport, &saved, SlowStore),
            PatchStatus::kRedirected);
  EXPECT_EQ(saved.load(), &original);
  // A second table of the same kind, or the same entry again: the saved
  // original stays the first one.
  int other = 0;
  void* second = &other;
  EXPECT_EQ(RedirectEntry(&second, kDetour, TableKind::kImport, &saved, SlowStore),
            PatchStatus::kRedirected);
  EXPECT_EQ(saved.load(), &original);
  EXPECT_EQ(RedirectEntry(&entry, kDetour, TableKind::kImport, &saved, SlowStore),
            PatchStatus::kAlreadyRedirected);

  std::atomic<void*> nothingSaved{nullptr};
  EXPECT_EQ(RedirectEntry(&entry, kDetour, TableKind::kImport, &nothingSaved, SlowStore),
            PatchStatus::kOriginalUnknown);
  EXPECT_EQ(nothingSaved.load(), nullptr);
  // Without a place to save it, the original is not asked for.
  EXPECT_EQ(RedirectEntry(&entry, kDetour, TableKind::kImport, nullptr, SlowStore),
            PatchStatus::kAlreadyRedirected);
}

}  // namespace
}  // namespace artwheel
