#pragma once
// The settings menu as the overlay draws it: a title and one row per item,
// its name and its value, the selected row marked. The worker fills it in
// UTF-8 whenever something on it changes. Platform-free.
#include <cstddef>
#include <cstdint>

#include "words/language.h"

namespace artwheel {

inline constexpr int kMenuRowCapacity = 16;
inline constexpr size_t kMenuLineSize = 64;  // UTF-8 bytes

struct MenuLines {
  Language language = Language::kEn;  // the language the texts are in, never Auto
  uint32_t opacityPercent = 100;      // the panel's
  int rowCount = 0;
  int selected = 0;
  char title[kMenuLineSize] = {};
  char names[kMenuRowCapacity][kMenuLineSize] = {};
  char values[kMenuRowCapacity][kMenuLineSize] = {};
};

}  // namespace artwheel

namespace artwheel {

// The menu's picture for a frame: centred, its rows sized to the frame's
// height (36 pixels at 1080, 26 at 800), never taller or wider than 90 % of
// the frame.
struct MenuBox {
  int32_t rowHeight;
  int32_t padding;
  int32_t width;
  int32_t height;
  int32_t valueLeft;  // where the values' column starts, in the picture
  int32_t left;
  int32_t top;
};
MenuBox LayOutMenu(uint32_t frameWidth, uint32_t frameHeight, int rowCount);

}  // namespace artwheel
