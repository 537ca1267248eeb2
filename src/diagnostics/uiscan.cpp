#include "diagnostics/uiscan.h"

#include <windows.h>

#include "base/log.h"
#include "base/memory.h"
#include "base/text_format.h"
#include "diagnostics/diagnostics_settings.h"
#include "diagnostics/game_objects.h"
#include "diagnostics/watch_state.h"
#include "game/game_memory.h"

namespace artwheel {
namespace {

constexpr int kDetailLineLimit = 160;
constexpr uint32_t kDetailMenuBytes = 0x400;
constexpr uint32_t kDetailSlotEnd = 0x180;
constexpr uint32_t kDetailObjectBytes = 0x200;
constexpr uint32_t kNeverFollowedSlot = 0x008;

struct WatcherState {
  uint64_t lastScanTick = 0;
  bool havePrevious = false;
  WatchSnapshot previous = {};
};

WatcherState watcher;
ScannerStateTable scannerState;
bool tableFullReported = false;

bool ReadMenuFields(uint64_t menu, WatchSnapshot& current) {
  for (int i = 0; i < kWatchedMenuCount; ++i) {
    if (!ReadU32IfReadable(menu + kWatchedMenuFields[i].offset, &current.menu[i])) return false;
  }
  return true;
}

bool ReadPlayerFields(WatchSnapshot& current) {
  const uint64_t player = ReachablePlayerData();
  if (player == 0) return false;
  for (int i = 0; i < kWatchedPlayerCount; ++i) {
    if (!ReadU32IfReadable(player + kWatchedPlayerFields[i].offset, &current.player[i]))
      return false;
  }
  return true;
}

void TrackWord(uint64_t address, uint32_t value, const char* label, uint32_t offset, int& count) {
  uint32_t old = 0;
  switch (scannerState.Track(address, value, &old)) {
    case ScannerStateTable::Result::kFirstSighting:
    case ScannerStateTable::Result::kUnchanged:
      return;
    case ScannerStateTable::Result::kFull:
      if (!tableFullReported) {
        tableFullReported = true;
        WriteLogLine("[UIScan] state table is full; restart the game to reset scanner state");
      }
      return;
    case ScannerStateTable::Result::kChanged:
      if (count < kDetailLineLimit) {
        WriteLogFormat("[UIScan] %s +0x%03X @%p u32: %u (0x%08X) -> %u (0x%08X)", label, offset,
                       reinterpret_cast<void*>(address), old, old, value, value);
      }
      ++count;
      return;
  }
}

void LogWatchLine(const char* changedList, const WatchSnapshot& c) {
  WriteLogFormat(
      "[UIWatch] changed=%s| menuPhaseA(+018)=%u menuPhaseB(+01C)=%u activeOrHud(+020)=%u "
      "gameplayHudA(+064)=%u pauseMenu(+040)=%u dialog(+044)=%u menuIndexA(+158)=%u "
      "menuIndexB(+15C)=%u loadingOrUi(+248)=%u modalOrDialog(+26C)=%u postLoad(+278)=%u "
      "gameplayHudB(+2F4)=%u npcMenu(+3B8)=%u npcMenuId(+3BC)=%u PGD(+010,%u +0DC,%u +144,%u "
      "+148,%u +154,%u +168,%u +16C,%u)",
      changedList, c.menu[0], c.menu[1], c.menu[2], c.menu[3], c.menu[4], c.menu[5], c.menu[6],
      c.menu[7], c.menu[8], c.menu[9], c.menu[10], c.menu[11], c.menu[12], c.menu[13], c.player[0],
      c.player[1], c.player[2], c.player[3], c.player[4], c.player[5], c.player[6]);
}

}  // namespace

void UIScanDetail(uint64_t menuState) {
  int count = 0;
  ForEachReadableWord<uint32_t>(menuState, kDetailMenuBytes, [&](uint32_t offset, uint32_t value) {
    TrackWord(menuState + offset, value, "MenuStateDetail", offset, count);
    return true;
  });
  for (uint32_t slot = 0; slot <= kDetailSlotEnd; slot += 8) {
    uint64_t object = 0;
    if (slot == kNeverFollowedSlot || !ReadU64IfReadable(menuState + slot, &object) ||
        !IsObjectPointer(object)) {
      continue;
    }
    char label[48];
    FormatText(label, sizeof label, "MenuState+0x%03X->", slot);
    ForEachReadableWord<uint32_t>(object, kDetailObjectBytes, [&](uint32_t offset, uint32_t value) {
      TrackWord(object + offset, value, label, offset, count);
      return true;
    });
  }
  if (count > kDetailLineLimit)
    WriteLogFormat("[UIScanDetail] tick clipped after %d changes", count);
}

void UIScanTick() {
  const uint64_t now = GetTickCount64();
  if (now - watcher.lastScanTick < UIScanConfig().intervalMs) return;
  watcher.lastScanTick = now;
  const uint64_t menu = ReachableMenuState();
  if (menu == 0) return;
  WatchSnapshot current = {};
  if (!ReadMenuFields(menu, current)) return;
  const bool playerValid = ReadPlayerFields(current);
  if (!playerValid) {
    for (uint32_t& value : current.player) value = 0;
  }

  char changedList[kChangedListSize];
  const bool changed =
      BuildChangedList(watcher.havePrevious, watcher.previous, current, playerValid, changedList);
  if (UIScanConfig().detail) UIScanDetail(menu);
  if (!changed) return;
  LogWatchLine(changedList, current);
  for (int i = 0; i < kWatchedMenuCount; ++i) watcher.previous.menu[i] = current.menu[i];
  if (playerValid) {
    for (int i = 0; i < kWatchedPlayerCount; ++i) watcher.previous.player[i] = current.player[i];
  }
  watcher.havePrevious = true;
}

}  // namespace artwheel
