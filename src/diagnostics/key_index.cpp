#include "diagnostics/key_index.h"

#include <cstring>

namespace artwheel {

void KeyIndex::Reset(uint32_t expected) {
  if (expected > kMaxEntries) expected = kMaxEntries;
  uint32_t size = 64;
  while (size < 2 * expected) size *= 2;
  mask_ = size - 1;
  std::memset(slots_, 0, size * sizeof slots_[0]);  // only the part in use
}

}  // namespace artwheel
