#pragma once
#include <cstdint>

namespace artwheel {

// One watcher pass per [UIScan] IntervalMs: logs the watched menu-state and
// player fields when any changed, and in Detail mode every changed word.
void UIScanTick();
void UIScanDetail(uint64_t menuState);

}  // namespace artwheel
