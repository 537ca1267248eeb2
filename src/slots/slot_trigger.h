#pragma once

namespace artwheel {

// What asked for a slot action. Only a controller combination has buttons to
// hide from the game; a keyboard key arms no ComboGuard, since nothing would
// release it without a controller and the game's DirectInput keyboard reads
// would lose keys meanwhile.
enum class SlotTrigger { kCombination, kKey };

}  // namespace artwheel
