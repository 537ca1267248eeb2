#pragma once
// artwheel.ini beside the library: the one module that knows its sections and
// keys (the table of settings_keys.h) and reads or writes them. The worker
// loads the settings once into a Settings value of its own and hands each
// subsystem what it needs.
#include <cstdint>

#include "app/settings_file.h"
#include "app/settings_keys.h"
#include "app/settings_record.h"

namespace artwheel {

// Reads every setting into `settings`, writes the normalised slot and enable
// keys back and logs a summary.
void LoadConfig(Settings& settings);

// Stores one slot's combat art id in [Slots]; false when nothing was written,
// with the system's error code in `error` when asked for.
bool SaveSlotArt(int slot, uint32_t artId, unsigned long* error = nullptr);

// Stores the keys' values from `settings` in the file, each as the key table
// shows it; false when any of them was not written, with the system's error
// code of the first in `error`.
bool SaveSettingKeys(const Settings& settings, const SettingKey* const* keys, int count,
                     unsigned long* error);

// [General] ApplyChanges: when the file changed since it was last read or
// written here, reads the keys that apply at once again into `settings` (a
// missing key means its default, a refused value leaves the previous one),
// hands them to `apply`, then logs what was applied and which changed keys
// wait for the next start. False when nothing was applied: the file is
// unchanged, missing, locked, or changed again while it was read (it is looked
// at again later).
bool ReloadConfigIfChanged(Settings& settings, void (*apply)(const Settings&));

// Worker thread, for the overlay: [SkillPanel] Enable as it stands in the
// file now, read again only after the file was seen to change.
bool SkillPanelEnabledInFile();

}  // namespace artwheel
