// HudProbe and UIScan at the capacities they allow, in a process laid out as
// the game: a snapshot with GlobalFields on over 65000 listed data slots
// whose 1000 pointed objects give 120000 fields, and a UIScan Detail pass over
// 6400 words. Each time is split into memory queries and the rest.
// Run: scripts/bench.sh
#include <windows.h>

#include <cstdio>

#include "app/settings.h"
#include "base/memory.h"
#include "diagnostics/diagnostics_settings.h"
#include "diagnostics/game_objects.h"
#include "diagnostics/hud_probe.h"
#include "diagnostics/uiscan.h"
#include "game_world.h"
#include "hud_world.h"

namespace {

double Now() {
  LARGE_INTEGER frequency, counter;
  QueryPerformanceFrequency(&frequency);
  QueryPerformanceCounter(&counter);
  return 1000.0 * double(counter.QuadPart) / double(frequency.QuadPart);
}

// The cost of one readability query, over addresses like those the tools probe.
double MicrosecondsPerQuery() {
  const uint64_t menu = artwheel::ReachableMenuState();
  constexpr int kQueries = 200000;
  const double start = Now();
  int readable = 0;
  for (int i = 0; i < kQueries; ++i) readable += artwheel::IsReadable(menu + 4 * (i % 1024), 4);
  const double elapsed = Now() - start;
  return readable > 0 ? 1000.0 * elapsed / kQueries : 0;
}

template <typename F>
void Measure(const char* what, double perQuery, F run) {
  const uint64_t queriesBefore = artwheel::ReadabilityQueryCount();
  const double start = Now();
  run();
  const double total = Now() - start;
  const uint64_t queries = artwheel::ReadabilityQueryCount() - queriesBefore;
  const double queryTime = queries * perQuery / 1000.0;
  std::printf("  %-44s %8.1f ms  (%7llu memory queries ~%7.1f ms, the rest %7.1f ms)\n", what,
              total, static_cast<unsigned long long>(queries), queryTime, total - queryTime);
}

}  // namespace

int main() {
  if (!sim::CreateGameWorld()) return 1;
  sim::PrepareHudWorld();
  sim::SetGlobalSlots(stdout, 65000, 1000);
  sim::SetHudVisible(true);
  for (uint32_t slot = 0; slot <= 0x180; slot += 8) sim::SetMenuSlot(slot, "object", slot / 8 + 10);

  artwheel::HudProbeSettings probe;
  probe.globalFields = true;
  probe.dumpGlobalPointers = true;
  probe.dumpGlobalPointerLimit = 2000;
  artwheel::LocateSettingsFile(GetModuleHandleA(nullptr));
  probe.folder = artwheel::LibraryFolder();  // the dumps go beside this program
  artwheel::ConfigureHudProbe(probe);
  const double perQuery = MicrosecondsPerQuery();
  std::printf("one memory query (VirtualQuery): %.3f us\n", perQuery);
  std::printf("HudProbe, GlobalFields=1, DumpGlobalPointers=1 (limit 2000), logging off:\n");
  Measure("F6: first visible snapshot (copy)", perQuery, [] { artwheel::CaptureHudVisible("F6"); });
  Measure("F7: second visible snapshot (merge)", perQuery,
          [] { artwheel::CaptureHudVisible("F7"); });
  sim::SetHudVisible(false);
  Measure("F9: hidden snapshot (copy and compare)", perQuery, [] { artwheel::CaptureHudHidden(); });
  sim::SetHudVisible(true);
  Measure("F6: third visible (merge and compare)", perQuery,
          [] { artwheel::CaptureHudVisible("F6"); });

  std::printf("UIScan Detail over 256 + 48 x 128 = 6400 words:\n");
  const uint64_t menu = artwheel::ReachableMenuState();
  Measure("first pass (fills the 4096-entry table)", perQuery,
          [menu] { artwheel::UIScanDetail(menu); });
  Measure("next pass", perQuery, [menu] { artwheel::UIScanDetail(menu); });
  artwheel::ResetHudProbe();  // leaves empty dump files behind
  return 0;
}
