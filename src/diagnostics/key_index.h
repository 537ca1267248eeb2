#pragma once
// "The first entry with this key" over an array, in O(1): an open-addressing
// table of entry numbers in static storage, rebuilt for each use. The
// diagnostics' sets hold up to 120000 entries; scanning one set for every
// entry of another would be billions of comparisons inside a worker tick.
// Platform-free.
#include <cstddef>
#include <cstdint>

namespace artwheel {

class KeyIndex {
 public:
  static constexpr uint32_t kMaxEntries = 131072;

  // Forgets everything and prepares for up to `expected` entries.
  void Reset(uint32_t expected);

  // Records entry `position` under `key` unless the key is present already
  // (the first entry keeps it). Returns false when the key was present.
  template <typename KeyOf>
  bool Insert(uint64_t key, uint32_t position, KeyOf keyOf);

  // The first entry recorded under the key, or -1.
  template <typename KeyOf>
  int32_t Find(uint64_t key, KeyOf keyOf) const;

  // Indexes the first `count` entries so that Find gives the first match.
  template <typename KeyOf>
  void Build(uint32_t count, KeyOf keyOf) {
    Reset(count);
    for (uint32_t i = 0; i < count; ++i) Insert(keyOf(i), i, keyOf);
  }

 private:
  static constexpr uint32_t kSlots = 2 * kMaxEntries;  // load stays at or below one half
  static uint32_t Hash(uint64_t key);
  uint32_t slots_[kSlots] = {};  // entry number + 1; 0 = empty
  uint32_t mask_ = 0;
};

inline uint32_t KeyIndex::Hash(uint64_t key) {
  key ^= key >> 33;
  key *= 0xFF51AFD7ED558CCDull;
  key ^= key >> 33;
  key *= 0xC4CEB9FE1A85EC53ull;
  key ^= key >> 33;
  return static_cast<uint32_t>(key);
}

template <typename KeyOf>
bool KeyIndex::Insert(uint64_t key, uint32_t position, KeyOf keyOf) {
  for (uint32_t slot = Hash(key) & mask_;; slot = (slot + 1) & mask_) {
    if (slots_[slot] == 0) {
      slots_[slot] = position + 1;
      return true;
    }
    if (keyOf(slots_[slot] - 1) == key) return false;
  }
}

template <typename KeyOf>
int32_t KeyIndex::Find(uint64_t key, KeyOf keyOf) const {
  for (uint32_t slot = Hash(key) & mask_;; slot = (slot + 1) & mask_) {
    if (slots_[slot] == 0) return -1;
    if (keyOf(slots_[slot] - 1) == key) return static_cast<int32_t>(slots_[slot] - 1);
  }
}

}  // namespace artwheel
