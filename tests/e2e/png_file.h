#pragma once
// Small PNG files for the overlay scenarios: solid colours whose blended
// result on screen is known exactly.
#include <cstdint>
#include <string>
#include <vector>

namespace e2e {

struct Rgba {
  uint8_t r, g, b, a;
};

// An uncompressed (stored) RGBA PNG of one colour.
std::string SolidPng(uint32_t width, uint32_t height, Rgba colour);
// The left half of one colour, the right half of another.
std::string SplitPng(uint32_t width, uint32_t height, Rgba left, Rgba right);

// The same of a picture, rows top-down.
std::string RgbaPng(uint32_t width, uint32_t height, const std::vector<Rgba>& pixels);

}  // namespace e2e
