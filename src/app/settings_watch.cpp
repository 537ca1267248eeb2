#include "app/settings_watch.h"

#include "app/settings_file.h"
#include "base/log.h"
#include "base/wide_path.h"

namespace artwheel {
namespace {

constexpr int kReplacedCapacity = 16;  // per slot; the oldest goes first

// The file as this library last read or wrote it.
struct KnownFile {
  FileStamp stamp;
  bool known = false;
  // Seen changed by a look that could not read it whole (held, empty, or
  // changed again while read): read at the next look even if the stamp has
  // come back to the known one.
  bool changeUnread = false;
  Settings values;
};

struct SlotWatch {
  bool watched = false;
  uint32_t replaced[kReplacedCapacity] = {};
  int count = 0;
  int next = 0;
};

// One directory change request on the library's folder, re-issued after each
// completion. Its status word is written by the system; reading it costs no call.
struct FolderWatch {
  bool tried = false;
  bool armed = false;
  HANDLE folder = INVALID_HANDLE_VALUE;
  OVERLAPPED request = {};
  alignas(DWORD) unsigned char records[4096] = {};
  uint64_t changes = 0;
};

KnownFile file;
SlotWatch slots[kSlotCount];
FolderWatch folderWatch;

constexpr DWORD kWatchedChanges =
    FILE_NOTIFY_CHANGE_FILE_NAME | FILE_NOTIFY_CHANGE_SIZE | FILE_NOTIFY_CHANGE_LAST_WRITE;

bool IssueRequest(FolderWatch& watch) {
  watch.request = OVERLAPPED{};
  watch.armed = ReadDirectoryChangesW(watch.folder, watch.records, sizeof watch.records, FALSE,
                                      kWatchedChanges, nullptr, &watch.request, nullptr) != FALSE;
  return watch.armed;
}

void OpenFolderWatch(FolderWatch& watch) {
  watch.tried = true;
  wchar_t folder[kWidePathCount];
  const char* libraryFolder = LibraryFolder();
  if (libraryFolder[0] == '\0' || !WideFromUtf8(libraryFolder, folder, kWidePathCount)) return;
  watch.folder = CreateFileW(
      folder, FILE_LIST_DIRECTORY, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
      OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OVERLAPPED, nullptr);
  // Whatever happened before the first request is unknown: counted as a change.
  ++watch.changes;
  if (watch.folder == INVALID_HANDLE_VALUE || !IssueRequest(watch)) {
    WriteLogFormat(
        "[Config] Could not watch the folder of artwheel.ini (error %lu); its stamp is read "
        "instead",
        GetLastError());
  }
}

bool NamesSettingsFile(const FILE_NOTIFY_INFORMATION& record) {
  const int length = static_cast<int>(record.FileNameLength / sizeof(wchar_t));
  return CompareStringOrdinal(record.FileName, length, L"artwheel.ini", -1, TRUE) == CSTR_EQUAL;
}

// True when the completed request names artwheel.ini, or overflowed (no
// records: anything may have changed).
bool CompletedRequestNamesFile(const FolderWatch& watch) {
  const auto bytes = static_cast<size_t>(watch.request.InternalHigh);
  if (watch.request.Internal != 0 || bytes == 0 || bytes > sizeof watch.records) return true;
  size_t at = 0;
  for (;;) {
    const auto* record = reinterpret_cast<const FILE_NOTIFY_INFORMATION*>(watch.records + at);
    if (NamesSettingsFile(*record)) return true;
    if (record->NextEntryOffset == 0) return false;
    at += record->NextEntryOffset;
    if (at + sizeof(FILE_NOTIFY_INFORMATION) > bytes) return true;
  }
}

}  // namespace

uint64_t SettingsChangeCount() {
  FolderWatch& watch = folderWatch;
  if (!watch.tried) OpenFolderWatch(watch);
  if (!watch.armed) return ++watch.changes;
  if (!HasOverlappedIoCompleted(&watch.request)) return watch.changes;
  // Counted before the request is issued again, so that a caller reads the
  // stamp after any change the new request would miss.
  if (CompletedRequestNamesFile(watch)) ++watch.changes;
  if (!IssueRequest(watch)) {
    WriteLogFormat("[Config] Stopped watching the folder of artwheel.ini (error %lu)",
                   GetLastError());
  }
  return watch.changes;
}

bool ChangedSinceKnown(const char* iniPath) {
  FileStamp stamp;
  return !file.known || file.changeUnread || !ReadFileStamp(iniPath, &stamp) ||
         !SameFileStamp(file.stamp, stamp);
}

void NoteChangeUnread() { file.changeUnread = true; }
bool IsChangeUnread() { return file.changeUnread; }
bool IsStampKnown(const FileStamp& stamp) { return file.known && SameFileStamp(file.stamp, stamp); }

void NoteFileRead(const FileStamp& stamp) {
  file.stamp = stamp;
  file.known = true;
  file.changeUnread = false;
}

void NoteOwnWrite(bool known, const FileStamp& stamp) {
  file.known = known;
  if (known) file.stamp = stamp;
}

void RememberFileValues(const Settings& values) { file.values = values; }
const Settings& KnownFileValues() { return file.values; }

void NoteReplacedSlotValue(int slot, uint32_t fileValue) {
  SlotWatch& watch = slots[slot];
  watch.watched = true;
  if (IsReplacedSlotValue(slot, fileValue)) return;
  watch.replaced[watch.next] = fileValue;
  watch.next = (watch.next + 1) % kReplacedCapacity;
  if (watch.count < kReplacedCapacity) ++watch.count;
}

bool IsReplacedSlotValue(int slot, uint32_t value) {
  const SlotWatch& watch = slots[slot];
  for (int i = 0; i < watch.count; ++i) {
    if (watch.replaced[i] == value) return true;
  }
  return false;
}

bool IsSlotWatched(int slot) { return slots[slot].watched; }
void EndSlotWatch(int slot) { slots[slot] = SlotWatch{}; }

}  // namespace artwheel
