#include "overlay/menu_view.h"

namespace artwheel {

MenuBox LayOutMenu(uint32_t frameWidth, uint32_t frameHeight, int rowCount) {
  constexpr int32_t kMinRowHeight = 12;
  const auto width = static_cast<int32_t>(frameWidth);
  const auto height = static_cast<int32_t>(frameHeight);
  const int32_t rows = (rowCount > 0 ? rowCount : 1) + 1;  // the title's row too
  int32_t row = height / 30;
  // Rows, a padding of half a row above and below: within 90 % of the height.
  const int32_t fitting = height * 9 / 10 / (rows + 1);
  if (row > fitting) row = fitting;
  if (row < kMinRowHeight) row = kMinRowHeight;
  MenuBox box{};
  box.rowHeight = row;
  box.padding = row / 2;
  // Wide enough for the longest value of every language, between its arrows.
  box.width = row * 20;
  if (box.width > width * 9 / 10) box.width = width * 9 / 10;
  box.valueLeft = box.width * 11 / 20;
  box.height = rows * row + 2 * box.padding;
  box.left = (width - box.width) / 2;
  box.top = (height - box.height) / 2;
  return box;
}

}  // namespace artwheel
