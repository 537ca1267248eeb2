#pragma once
// Every key of artwheel.ini, once: its section and name, its default, the
// values it takes, whether it applies at once or at the next start, and the
// field of Settings it fills. The read at start, the reload, the summary line,
// the list of keys that wait for the next start, the write-back and the lines
// for refused values all walk this table. Platform-free.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "app/settings_record.h"

namespace artwheel {

// When a changed value takes effect while the game runs ([General] ApplyChanges).
enum class Applies : uint8_t { kAtOnce, kAtNextStart };

// When the key is read at start: before the "[Config] Loaded" line or after it.
enum class ReadStep : uint8_t { kBeforeSummary, kAfterSummary };

// How a value the key does not take is said in the log.
enum class Refusal : uint8_t {
  kNone,        // every text converts (numbers as the profile functions read them)
  kNotValid,    // "<Section> <Key>=<text> is not valid (<valid>); ..."
  kButton,      // [Combination] Modifier
  kNames,       // [Combination] ButtonNames
  kKeyName,     // [Keys]
  kSlotNumber,  // [Slots]: not a number
};

// How a value is shown: as written to the file ("1"), or in the log ("ON").
enum class ShowStyle : uint8_t { kFile, kLog };

// What the reader hands a key's parser: the value without its inline comment,
// trimmed and not empty, and the profile functions' conversion of it to a number.
struct KeyText {
  std::string_view text;
  uint32_t number = 0;
  bool atStart = true;
};

struct SettingKey {
  const char* section;
  const char* name;
  const char* defaultText;  // what a missing or empty key means
  const char* valid;        // the values it takes, as the refusal line names them
  Applies applies;
  ReadStep step;
  Refusal refusal;
  bool writtenBack;          // written back, normalised, at start
  bool numberRead;           // the parser wants the profile functions' number
  bool scannerWins;          // the line scanner's value, found in any section, wins
  const char* summaryName;   // its name in the "[Config] Loaded" line; null: not there
  int summaryOrder;          // its place in that line
  const char* restartGroup;  // its name in the list of keys that wait for the next start
  int slot;                  // the slot of a [Slots] or [Keys] key; -1 otherwise
  // Stores the value in `settings`; false (and the field untouched) when the
  // key does not take it. Null for a key read elsewhere (the chain path).
  bool (*parse)(const KeyText& value, Settings& settings, int slot);
  void (*show)(const Settings& settings, int slot, ShowStyle style, char* out, size_t size);
};

extern const SettingKey kSettingKeys[];
extern const size_t kSettingKeyCount;

// The key's value in `settings` as text ("ON", "1.5", "BottomRight", ...).
void ShowKey(const SettingKey& key, const Settings& settings, ShowStyle style, char* out,
             size_t size);

// Whether the two records hold the same value for the key.
bool SameKeyValue(const SettingKey& key, const Settings& a, const Settings& b);

// Our own text for the key (a value it shows, its default) handed to its
// parser with the number the profile functions would read from it.
bool ParseKeyText(const SettingKey& key, const char* text, bool atStart, Settings& settings);

// The key's default stored into `settings`.
void ApplyKeyDefault(const SettingKey& key, Settings& settings);

// An on/off value: 1/0 (any whole number, non-zero is on), true/false, on/off,
// yes/no, in any letter case; false for any other text.
bool ParseSwitch(std::string_view text, bool* on);

// 1.5, 0.75, 2: the scale in thousandths as the shortest decimal.
void FormatScaleMilli(uint32_t milli, char* out, size_t size);

}  // namespace artwheel
