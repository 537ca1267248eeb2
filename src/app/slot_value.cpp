#include "app/slot_value.h"

#include <cstdint>

#include "game/game_layout.h"

namespace artwheel {

SlotValue ClassifySlotValue(std::string_view text) {
  if (text.empty()) return SlotValue::kEmpty;
  uint64_t id = 0;
  for (const char c : text) {
    if (c < '0' || c > '9') return SlotValue::kNotANumber;
    id = id * 10 + static_cast<uint64_t>(c - '0');
    if (id > UINT32_MAX) return SlotValue::kNotANumber;
  }
  if (id == 0) return SlotValue::kEmpty;
  const bool known = id >= kFirstCombatArtId && id < kCombatArtIdEnd &&
                     (id - kFirstCombatArtId) % kCombatArtIdStep == 0;
  return known ? SlotValue::kKnownArt : SlotValue::kUnknownId;
}

}  // namespace artwheel
