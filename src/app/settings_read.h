#pragma once
// Reading artwheel.ini through the key table: each key's value as the profile
// functions give it, its default when it is missing, its field untouched when
// the key refuses it, and the lines that say so. Worker thread.
#include <cstddef>

#include "app/settings_keys.h"
#include "app/settings_record.h"

namespace artwheel {

inline constexpr size_t kShownSize = 64;

// Which keys a pass reads, and whether it speaks.
struct ReadPass {
  const char* iniPath;
  bool atStart;  // a refused value leaves the default (start) or the previous value (reload)
  bool logged;   // refused values and notes are logged
  bool onlyAtOnce;
  bool onlyStart;  // the keys that apply at the next start
};

// One key into `settings`.
void ReadKey(const SettingKey& key, Settings& settings, const ReadPass& pass);

// The keys of one step, in table order; a logged pass says what a section
// read whole comes to ([Keys]: repeated keys and the keys' line;
// [Combination]: its line).
void ReadKeys(Settings& settings, const ReadPass& pass, ReadStep step);

// Every key as the file holds it now, silently: what a write of ours is
// checked against.
Settings ReadFileValues(const char* iniPath);
bool SameFileValues(const Settings& a, const Settings& b);

}  // namespace artwheel
