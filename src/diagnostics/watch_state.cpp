#include "diagnostics/watch_state.h"

#include "base/text_format.h"

namespace artwheel {
namespace {

// Each item goes through a 48-byte buffer; the whole list (651 characters at
// most) always fits.
void AppendItem(char (&list)[kChangedListSize], const char* prefix, uint32_t offset,
                bool withPrevious, uint32_t previous, uint32_t current) {
  char item[48];
  const int length =
      withPrevious
          ? FormatText(item, sizeof item, "%s+0x%03X:%u->%u ", prefix, offset, previous, current)
          : FormatText(item, sizeof item, "%s+0x%03X:%u ", prefix, offset, current);
  if (length >= 0) AppendText(list, sizeof list, item);
}

uint32_t SlotOf(uint64_t address) {
  address ^= address >> 29;
  address *= 0xBF58476D1CE4E5B9ull;
  address ^= address >> 32;
  return static_cast<uint32_t>(address);
}

}  // namespace

bool BuildChangedList(bool havePrevious, const WatchSnapshot& previous,
                      const WatchSnapshot& current, bool playerValid,
                      char (&list)[kChangedListSize]) {
  list[0] = '\0';
  bool changed = !havePrevious;
  for (int i = 0; i < kWatchedMenuCount; ++i) {
    const uint32_t offset = kWatchedMenuFields[i].offset;
    if (!havePrevious || current.menu[i] != previous.menu[i]) {
      AppendItem(list, "", offset, havePrevious, previous.menu[i], current.menu[i]);
      changed = true;
    }
  }
  for (int i = 0; playerValid && i < kWatchedPlayerCount; ++i) {
    const uint32_t offset = kWatchedPlayerFields[i].offset;
    if (!havePrevious || current.player[i] != previous.player[i]) {
      AppendItem(list, "PGD", offset, havePrevious, previous.player[i], current.player[i]);
      changed = true;
    }
  }
  return changed;
}

ScannerStateTable::Result ScannerStateTable::Track(uint64_t address, uint32_t value,
                                                   uint32_t* previous) {
  uint32_t slot = SlotOf(address) & (kSlots - 1);
  for (; slots_[slot] != 0; slot = (slot + 1) & (kSlots - 1)) {
    Entry& entry = entries_[slots_[slot] - 1];
    if (entry.address != address) continue;
    if (entry.value == value) return Result::kUnchanged;
    if (previous != nullptr) *previous = entry.value;
    entry.value = value;
    return Result::kChanged;
  }
  if (used_ == kCapacity) return Result::kFull;
  entries_[used_] = Entry{address, value};
  slots_[slot] = static_cast<uint16_t>(++used_);
  return Result::kFirstSighting;
}

}  // namespace artwheel
