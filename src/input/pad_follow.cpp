#include "input/pad_follow.h"

#include "base/text_format.h"

namespace artwheel {

namespace {

bool IsGameReading(const PadWatch& watch, uint64_t now) {
  return watch.lastGameRead != 0 && now - watch.lastGameRead < kGameReadFreshMs &&
         !watch.emptyAtOwnRead;
}

bool IsDueForOwnRead(const PadWatch& watch, uint64_t now) {
  return !watch.emptyAtOwnRead || now - watch.lastOwnRead >= kEmptyPadProbeMs;
}

}  // namespace

PadSet FilteredPads(PadChoice choice) {
  if (choice == PadChoice::kAuto) return kAllPads;
  return PadBit(static_cast<int>(choice) - 1);
}

void TakeGameReadNotes(GameReadNotes& notes, PadWatches& watches, uint64_t now) {
  for (int i = 0; i < kPadCount; ++i) {
    std::atomic<bool>& note = notes.read[i];
    if (!note.load(std::memory_order_relaxed)) continue;
    note.store(false, std::memory_order_relaxed);
    watches.pads[i].lastGameRead = now;
    watches.pads[i].emptyAtOwnRead = false;
  }
}

void NoteOwnRead(PadWatches& watches, int index, bool connected, uint64_t now) {
  watches.pads[index].lastOwnRead = now;
  watches.pads[index].emptyAtOwnRead = !connected;
}

PadSet PadsToRead(PadChoice choice, const PadWatches& watches, uint64_t now) {
  if (choice != PadChoice::kAuto) return FilteredPads(choice);
  PadSet gameReads = 0;
  PadSet due = 0;
  for (int i = 0; i < kPadCount; ++i) {
    if (IsGameReading(watches.pads[i], now)) gameReads |= PadBit(i);
    if (IsDueForOwnRead(watches.pads[i], now)) due |= PadBit(i);
  }
  return gameReads != 0 ? gameReads : due;
}

void FormatPlayers(PadSet pads, char* out, size_t size) {
  int numbers[kPadCount];
  int count = 0;
  for (int i = 0; i < kPadCount; ++i) {
    if (pads & PadBit(i)) numbers[count++] = i + 1;
  }
  if (count == 0) {
    FormatText(out, size, "no pad");
    return;
  }
  int used = FormatText(out, size, "player%s %d", count > 1 ? "s" : "", numbers[0]);
  for (int i = 1; i < count && used > 0; ++i) {
    const int written = FormatText(out + used, size - static_cast<size_t>(used), "%s%d",
                                   i + 1 == count ? " and " : ", ", numbers[i]);
    used = written < 0 ? -1 : used + written;
  }
}

}  // namespace artwheel
