#pragma once
// What every fuzz target shares: a check that stops the run with its reason,
// and a caller's buffer with guard bytes on both sides.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <vector>

#define FUZZ_CHECK(condition)                                                             \
  do {                                                                                    \
    if (!(condition)) {                                                                   \
      std::fprintf(stderr, "check failed: %s (%s:%d)\n", #condition, __FILE__, __LINE__); \
      std::abort();                                                                       \
    }                                                                                     \
  } while (0)

namespace artwheel::fuzz {

// `size` bytes the code under test may touch, between two runs of guard bytes
// that must come back unchanged.
class GuardedBuffer {
 public:
  static constexpr size_t kGuard = 64;
  static constexpr uint8_t kPattern = 0xA5;

  explicit GuardedBuffer(size_t size) : size_(size), bytes_(size + 2 * kGuard, kPattern) {}

  uint8_t* data() { return bytes_.data() + kGuard; }
  char* chars() { return reinterpret_cast<char*>(data()); }
  size_t size() const { return size_; }

  bool GuardsIntact() const {
    for (size_t i = 0; i < kGuard; ++i) {
      if (bytes_[i] != kPattern || bytes_[kGuard + size_ + i] != kPattern) return false;
    }
    return true;
  }

 private:
  size_t size_;
  std::vector<uint8_t> bytes_;
};

}  // namespace artwheel::fuzz
