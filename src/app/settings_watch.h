#pragma once
// The one watcher of artwheel.ini, worker thread only. The system says when
// something in the library's folder named artwheel.ini changed (a directory
// change request, polled without waiting); only then is the file's stamp read.
// It remembers the stamp of the file as last read or written here, what the
// in-game assignments replaced, and the file's values as last seen, so that a
// write of ours is never taken for the player's change or the other way round.
#include <cstdint>

#include "app/settings_record.h"
#include "base/ini_file.h"

namespace artwheel {

// A number that grows whenever the file may have changed. With no change
// request possible (an unknown folder, a refused request) it grows at every
// call, so that every caller looks at the stamp as it would without it.
uint64_t SettingsChangeCount();

// Whether the file may differ from what was last read or written here: its
// stamp differs, it could not be read, or a change was seen but not read.
bool ChangedSinceKnown(const char* iniPath);

// A changed file is being read: until NoteFileRead, the change stays unread
// (a copy that keeps its source's write time may bring the old stamp back).
void NoteChangeUnread();
bool IsChangeUnread();
bool IsStampKnown(const FileStamp& stamp);
void NoteFileRead(const FileStamp& stamp);
// After a write of ours: known again at `stamp`, or not known (read at the next look).
void NoteOwnWrite(bool known, const FileStamp& stamp);

// The file's values as the key table reads them, as last seen here.
void RememberFileValues(const Settings& values);
const Settings& KnownFileValues();

// Every value an in-game assignment replaced in the slot during the session:
// an editor's older copy that brings one back does not undo the assignment.
void NoteReplacedSlotValue(int slot, uint32_t fileValue);
bool IsReplacedSlotValue(int slot, uint32_t value);
bool IsSlotWatched(int slot);
void EndSlotWatch(int slot);

}  // namespace artwheel
