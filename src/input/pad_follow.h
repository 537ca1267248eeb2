#pragma once
// Which XInput pads the combinations follow. A chosen player number is that
// pad alone; with Auto, the pads the game itself read successfully within the
// last second, or, while the game reads none, the connected pads the worker
// finds by asking each index itself, an empty index at most once a second
// (asking an empty index is slow on Windows). Platform-free: every time is
// passed in, in GetTickCount64 milliseconds.
#include <atomic>
#include <cstddef>
#include <cstdint>

#include "input/combo.h"
#include "input/pad_choice.h"

namespace artwheel {

inline constexpr uint64_t kGameReadFreshMs = 1000;
inline constexpr uint64_t kEmptyPadProbeMs = 1000;

// What the worker knows of one index.
struct PadWatch {
  uint64_t lastGameRead = 0;    // when the worker saw the game's last good read; 0: never
  uint64_t lastOwnRead = 0;     // when the worker last read it itself; 0: never
  bool emptyAtOwnRead = false;  // that read found no pad, and the game read none there since
};

struct PadWatches {
  PadWatch pads[kPadCount];
};

// Set by the XInput filter on the game's threads for each good read of an
// index (a relaxed store, and only when not already set, so that the line
// stays shared between the game's threads); taken by the worker once a tick.
struct GameReadNotes {
  std::atomic<bool> read[kPadCount] = {};
};

inline void NoteGameReadOf(GameReadNotes& notes, unsigned index) {
  std::atomic<bool>& note = notes.read[index];
  if (!note.load(std::memory_order_relaxed)) note.store(true, std::memory_order_relaxed);
}

// The indexes whose reads the XInput filter filters: the chosen one, or every
// index with Auto (the game reading a pad is what makes it followed).
PadSet FilteredPads(PadChoice choice);

// The worker's side: the notes the filter left since the last tick.
void TakeGameReadNotes(GameReadNotes& notes, PadWatches& watches, uint64_t now);
void NoteOwnRead(PadWatches& watches, int index, bool connected, uint64_t now);

// The indexes the worker reads in this tick; those of them that answer are
// the pads followed. A chosen number is read in every tick, connected or not.
PadSet PadsToRead(PadChoice choice, const PadWatches& watches, uint64_t now);

// "player 2", "players 1 and 3", "players 1, 2 and 4", "no pad".
void FormatPlayers(PadSet pads, char* out, size_t size);

}  // namespace artwheel
