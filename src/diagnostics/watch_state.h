#pragma once
// UIScan's decisions: which watched fields changed since the last [UIWatch]
// line, and the Detail mode's table of every word seen. Platform-free.
#include <cstddef>
#include <cstdint>

namespace artwheel {

struct WatchedField {
  const char* name;
  uint32_t offset;
};

// In the order of the log line (not sorted by offset).
inline constexpr WatchedField kWatchedMenuFields[] = {
    {"menuPhaseA", 0x018},    {"menuPhaseB", 0x01C}, {"activeOrHud", 0x020},
    {"gameplayHudA", 0x064},  {"pauseMenu", 0x040},  {"dialog", 0x044},
    {"menuIndexA", 0x158},    {"menuIndexB", 0x15C}, {"loadingOrUi", 0x248},
    {"modalOrDialog", 0x26C}, {"postLoad", 0x278},   {"gameplayHudB", 0x2F4},
    {"npcMenu", 0x3B8},       {"npcMenuId", 0x3BC},
};
inline constexpr WatchedField kWatchedPlayerFields[] = {
    {"playerModeA", 0x010}, {"playerModeB", 0x0DC}, {"playerModeC", 0x144}, {"playerModeD", 0x148},
    {"playerModeE", 0x154}, {"playerModeF", 0x168}, {"playerModeG", 0x16C},
};
inline constexpr int kWatchedMenuCount = 14;
inline constexpr int kWatchedPlayerCount = 7;
inline constexpr size_t kChangedListSize = 768;

struct WatchSnapshot {
  uint32_t menu[kWatchedMenuCount];
  uint32_t player[kWatchedPlayerCount];
};

// Writes the changed list ("+0x%03X:%u->%u " items, or "+0x%03X:%u " on the
// first line; "PGD+..." for player fields when they were read) and tells
// whether a line is due.
bool BuildChangedList(bool havePrevious, const WatchSnapshot& previous,
                      const WatchSnapshot& current, bool playerValid,
                      char (&list)[kChangedListSize]);

// Detail mode's memory of words: 4096 addresses at most, never forgotten.
class ScannerStateTable {
 public:
  static constexpr uint32_t kCapacity = 4096;
  enum class Result { kFirstSighting, kUnchanged, kChanged, kFull };

  // Records the word's value; on kChanged `previous` holds the value before.
  Result Track(uint64_t address, uint32_t value, uint32_t* previous);

 private:
  struct Entry {
    uint64_t address;
    uint32_t value;
  };
  static constexpr uint32_t kSlots = 2 * kCapacity;
  Entry entries_[kCapacity] = {};
  uint16_t slots_[kSlots] = {};  // entry number + 1; 0 = empty
  uint32_t used_ = 0;
};

}  // namespace artwheel
