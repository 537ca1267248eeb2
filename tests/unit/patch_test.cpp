#include "base/patch.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <string>
#include <thread>

namespace artwheel {
namespace {

int Detour(int) { return 0; }
int OriginalA(int) { return 1; }
int OriginalB(int) { return 2; }
void* const kDetour = reinterpret_cast<void*>(&Detour);
void* const kOriginalA = reinterpret_cast<void*>(&OriginalA);
void* const kOriginalB = reinterpret_cast<void*>(&OriginalB);
using Fn = int (*)(int);

// A store that takes its time, as changing a page's protection does, so that
// racing first calls overlap.
bool SlowStore(void** entry, void* value, TableKind) {
  std::this_thread::sleep_for(std::chrono::microseconds(200));
  *entry = value;
  return true;
}

bool RefusedStore(void**, void*, TableKind) { return false; }

// An object whose first word is its method table, as a COM object's is.
struct Object {
  void** table;
};

std::string Line(const Hook& hook, PatchStatus status) {
  char line[128] = "untouched";
  return FormatRedirectLine(hook, status, line, sizeof line) ? line : "";
}

// Two providers' interfaces, each with its own table, created at once on two
// threads: record 0 takes one table, and the original it keeps is that
// table's entry.
TEST(HookRedirectOnce, RacingFirstCallsPatchOneTableAndKeepItsOriginal) {
  for (int round = 0; round < 50; ++round) {
    Hook hook{"Method", TableKind::kMethod, 0, &Detour, 2};
    void* tableA[1] = {kOriginalA};
    void* tableB[1] = {kOriginalB};
    std::atomic<int> ready{0};
    auto first = [&](void** table) {
      ++ready;
      while (ready.load() < 2) {
      }
      hook.RedirectOnce(table, 0, SlowStore);
    };
    std::thread a(first, tableA);
    std::thread b(first, tableB);
    a.join();
    b.join();
    const bool patchedA = tableA[0] == kDetour;
    ASSERT_NE(patchedA, tableB[0] == kDetour) << "round " << round;
    EXPECT_EQ(hook.Table(0), patchedA ? tableA : tableB) << "round " << round;
    const Object object{patchedA ? tableA : tableB};
    EXPECT_EQ(hook.Original<Fn>(&object), patchedA ? &OriginalA : &OriginalB) << round;
  }
}

// The interface kinds of DirectInput: the first interface's record and the
// wide one's. A refused store keeps nothing and the next call tries again; a
// filled record is not filled again; a table that the other record holds is
// redirected already, and its calls find that record's original.
TEST(HookRedirectOnce, ARefusedStoreKeepsNothingAndASharedTableIsAlreadyRedirected) {
  Hook hook{"Method", TableKind::kMethod, 0, &Detour, 2};
  void* table[1] = {kOriginalA};
  const Object object{table};
  EXPECT_EQ(hook.RedirectOnce(table, 0, RefusedStore), PatchStatus::kRefused);
  EXPECT_EQ(hook.Table(0), nullptr);
  EXPECT_EQ(hook.Original<Fn>(&object), nullptr);
  EXPECT_EQ(hook.RedirectOnce(table, 0, SlowStore), PatchStatus::kRedirected);
  EXPECT_EQ(hook.Original<Fn>(&object), &OriginalA);
  void* other[1] = {kOriginalB};
  EXPECT_EQ(hook.RedirectOnce(other, 0, SlowStore), PatchStatus::kAlreadyRedirected);
  EXPECT_EQ(other[0], kOriginalB);  // record 0 is filled once per process
  EXPECT_EQ(hook.RedirectOnce(table, 1, SlowStore), PatchStatus::kAlreadyRedirected);
  EXPECT_EQ(hook.Table(1), nullptr);
  EXPECT_EQ(hook.Original<Fn>(&object), &OriginalA);  // never the detour itself
  EXPECT_EQ(hook.RedirectOnce(other, 1, SlowStore), PatchStatus::kRedirected);
  const Object second{other};
  EXPECT_EQ(hook.Original<Fn>(&second), &OriginalB);
}

// Devices of several implementations: each table keeps its own original; one
// seen again whose entry someone else changed is redirected again with its
// first original kept; an entry that leads to the detour through no record of
// the hook has no original to call; with every record taken nothing changes.
TEST(HookRedirect, EachTableKeepsItsOriginalUntilNoRecordIsLeft) {
  Hook hook{"Method", TableKind::kMethod, 1, &Detour, 2};
  void* tableA[2] = {nullptr, kOriginalA};
  void* tableB[2] = {nullptr, kOriginalB};
  EXPECT_EQ(hook.Redirect(tableA, SlowStore), PatchStatus::kRedirected);
  EXPECT_EQ(hook.Redirect(tableB, SlowStore), PatchStatus::kRedirected);
  EXPECT_EQ(hook.Redirect(tableA, SlowStore), PatchStatus::kAlreadyRedirected);
  const Object a{tableA};
  const Object b{tableB};
  EXPECT_EQ(hook.Original<Fn>(&a), &OriginalA);
  EXPECT_EQ(hook.Original<Fn>(&b), &OriginalB);
  tableA[1] = kOriginalB;  // another program's redirection over ours
  EXPECT_EQ(hook.Redirect(tableA, SlowStore), PatchStatus::kRedirected);
  EXPECT_EQ(tableA[1], kDetour);
  EXPECT_EQ(hook.Original<Fn>(&a), &OriginalA);

  void* ledHere[2] = {nullptr, kDetour};
  EXPECT_EQ(hook.Redirect(ledHere, SlowStore), PatchStatus::kRefused);  // both records taken
  Hook fresh{"Method", TableKind::kMethod, 1, &Detour, 2};
  EXPECT_EQ(fresh.Redirect(ledHere, SlowStore), PatchStatus::kOriginalUnknown);
  EXPECT_EQ(fresh.Table(0), nullptr);
  void* third[2] = {nullptr, kOriginalA};
  EXPECT_EQ(fresh.Redirect(third, RefusedStore), PatchStatus::kRefused);
  EXPECT_EQ(fresh.Table(0), nullptr);
  const Object unknown{ledHere};
  EXPECT_EQ(fresh.Original<Fn>(&unknown), nullptr);
}

// An import hook calls on the one function its owner found, whatever each
// entry held; before it is known no entry is touched.
TEST(HookRedirectImport, EveryEntryLeadsToTheDetourOnceTheOriginalIsKnown) {
  Hook hook{"Import", TableKind::kImport, 0, &Detour};
  void* entry = kOriginalB;
  EXPECT_EQ(hook.RedirectImport(&entry, SlowStore), PatchStatus::kOriginalUnknown);
  EXPECT_EQ(entry, kOriginalB);
  hook.SetOriginal(kOriginalA);
  EXPECT_EQ(hook.RedirectImport(&entry, RefusedStore), PatchStatus::kRefused);
  EXPECT_EQ(hook.RedirectImport(&entry, SlowStore), PatchStatus::kRedirected);
  EXPECT_EQ(entry, kDetour);
  EXPECT_EQ(hook.RedirectImport(&entry, SlowStore), PatchStatus::kAlreadyRedirected);
  EXPECT_EQ(hook.Original<Fn>(), &OriginalA);
}

// The step under the hooks, as a test's own redirection uses it.
TEST(RedirectEntry, SavesBeforeTheStoreAndTellsAKnownRedirectionFromAnUnknownOne) {
  void* entry = kOriginalA;
  std::atomic<void*> saved{nullptr};
  EXPECT_EQ(RedirectEntry(&entry, kDetour, TableKind::kImport, &saved, RefusedStore),
            PatchStatus::kRefused);
  EXPECT_EQ(saved.load(), nullptr);
  EXPECT_EQ(RedirectEntry(&entry, kDetour, TableKind::kImport, &saved, SlowStore),
            PatchStatus::kRedirected);
  EXPECT_EQ(saved.load(), kOriginalA);
  EXPECT_EQ(RedirectEntry(&entry, kDetour, TableKind::kImport, &saved, SlowStore),
            PatchStatus::kAlreadyRedirected);
  std::atomic<void*> nothingSaved{nullptr};
  EXPECT_EQ(RedirectEntry(&entry, kDetour, TableKind::kImport, &nothingSaved, SlowStore),
            PatchStatus::kOriginalUnknown);
  EXPECT_EQ(RedirectEntry(&entry, kDetour, TableKind::kImport, nullptr, SlowStore),
            PatchStatus::kAlreadyRedirected);
}

// One wording per status: the hook's own lines where it keeps them, the
// registry's otherwise, nothing for a redirection already in place.
TEST(FormatRedirectLine, TheHooksOwnLinesOrTheRegistrysWording) {
  const Hook own{"Old", TableKind::kMethod, 0, &Detour, 1, HookLines{"[X] in place", "[X] failed"}};
  EXPECT_EQ(Line(own, PatchStatus::kRedirected), "[X] in place");
  EXPECT_EQ(Line(own, PatchStatus::kRefused), "[X] failed");
  EXPECT_EQ(Line(own, PatchStatus::kOriginalUnknown), "[X] failed");
  EXPECT_EQ(Line(own, PatchStatus::kAlreadyRedirected), "");
  const Hook summed{"Summed", TableKind::kImport, 0, &Detour, 1, HookLines{"", nullptr}};
  EXPECT_EQ(Line(summed, PatchStatus::kRedirected), "");
  EXPECT_EQ(Line(summed, PatchStatus::kRefused), "[Hook] Summed failed");
  const Hook fresh{"IDXGISwapChain3::SetColorSpace1", TableKind::kMethod, 39, &Detour};
  EXPECT_EQ(Line(fresh, PatchStatus::kRedirected),
            "[Hook] IDXGISwapChain3::SetColorSpace1 redirected");
  EXPECT_EQ(Line(fresh, PatchStatus::kOriginalUnknown),
            "[Hook] IDXGISwapChain3::SetColorSpace1 original unknown");
  EXPECT_EQ(Line(fresh, PatchStatus::kRefused), "[Hook] IDXGISwapChain3::SetColorSpace1 failed");
}

}  // namespace
}  // namespace artwheel
