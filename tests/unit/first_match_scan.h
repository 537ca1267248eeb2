#pragma once
// The straightforward "first entry with the same key" merge of global fields:
// the reference the indexed merge is checked and measured against.
#include <vector>

#include "diagnostics/hud_sets.h"

namespace artwheel {

inline int FirstMatchScanIntersect(std::vector<GlobalFieldSample>& stable,
                                   const std::vector<GlobalFieldSample>& capture) {
  int kept = 0;
  for (size_t i = 0; i < stable.size(); ++i) {
    for (const GlobalFieldSample& c : capture) {
      if (c.ptrRva == stable[i].ptrRva && c.offset == stable[i].offset) {
        if (c.value == stable[i].value) stable[kept++] = stable[i];
        break;
      }
    }
  }
  return kept;
}

}  // namespace artwheel
