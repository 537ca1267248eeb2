#include "base/log.h"

#include <windows.h>

#include <atomic>
#include <cstring>
#include <ctime>

#include "base/log_turn.h"
#include "base/thread_flag.h"

namespace artwheel {
namespace {

// Read by every thread that logs; set at attach and again by the worker's
// configuration load.
std::atomic<bool> logEnabled{false};
ThreadFlag patientThread;
// One thread at a time writes its line: appends through two handles of one
// file may overwrite each other under Wine.
SRWLOCK logTurn = SRWLOCK_INIT;
DroppedLogLines droppedLines;

double MillisecondsSince(const LARGE_INTEGER& start) {
  LARGE_INTEGER now;
  LARGE_INTEGER frequency;
  QueryPerformanceCounter(&now);
  QueryPerformanceFrequency(&frequency);
  return 1000.0 * static_cast<double>(now.QuadPart - start.QuadPart) /
         static_cast<double>(frequency.QuadPart);
}

// A game thread tries for the turn for about 1 ms and gives up; our own
// threads queue for it, and first give way to game threads that are trying,
// for as long as those may try.
std::atomic<int> gameThreadsTrying{0};

bool TakeLogTurn(bool patient, const LARGE_INTEGER& start) {
  if (patient) {
    while (GiveWayForLog(gameThreadsTrying.load(std::memory_order_relaxed),
                         MillisecondsSince(start))) {
      YieldProcessor();
    }
    AcquireSRWLockExclusive(&logTurn);
    return true;
  }
  if (TryAcquireSRWLockExclusive(&logTurn)) return true;
  gameThreadsTrying.fetch_add(1, std::memory_order_relaxed);
  bool taken = false;
  while (!taken && KeepTryingForLog(false, LogObstacle::kTurnTaken, 0, MillisecondsSince(start))) {
    // A turn lasts one open and one write: giving the core away costs more.
    YieldProcessor();
    taken = TryAcquireSRWLockExclusive(&logTurn);
  }
  gameThreadsTrying.fetch_sub(1, std::memory_order_relaxed);
  return taken;
}

// The file opened for appending with our turn taken; INVALID_HANDLE_VALUE, and
// the turn not held, when the line is to be handed over. A turn lasts one open (and
// one line's write): waiting for it never means waiting for another program.
HANDLE OpenLogForAppend(LogObstacle* obstacleMet) {
  const bool patient = patientThread.IsSet();
  LARGE_INTEGER start;
  QueryPerformanceCounter(&start);
  for (int attempt = 1;; ++attempt) {
    *obstacleMet = LogObstacle::kTurnTaken;
    if (!TakeLogTurn(patient, start)) return INVALID_HANDLE_VALUE;
    HANDLE file = CreateFileW(kLogFileName, FILE_APPEND_DATA, FILE_SHARE_READ, nullptr, OPEN_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file != INVALID_HANDLE_VALUE) return file;
    const LogObstacle obstacle = GetLastError() == ERROR_SHARING_VIOLATION
                                     ? LogObstacle::kFileHeld
                                     : LogObstacle::kFileFailed;
    *obstacleMet = obstacle;
    ReleaseSRWLockExclusive(&logTurn);
    if (!KeepTryingForLog(patient, obstacle, attempt, MillisecondsSince(start))) {
      return INVALID_HANDLE_VALUE;
    }
    if (patient) Sleep(1);
  }
}

void WritePiece(HANDLE file, const char* text, size_t length) {
  DWORD written = 0;
  WriteFile(file, text, static_cast<DWORD>(length), &written, nullptr);
}

// Lines that could not have the turn (or the file) within their thread's
// budget: the thread that holds the turn next writes them after its own, so a
// busy log costs a game thread nothing and the line is still kept. Only a full
// hand-over drops a line, and the drop is counted.
constexpr int kHandedOverCapacity = 32;
// Time stamp, origin, a formatted message of at most 511 characters, CR LF.
constexpr size_t kHandedOverLineSize = 640;
struct HandedOverLine {
  size_t length;
  char text[kHandedOverLineSize];
};
HandedOverLine handedOver[kHandedOverCapacity];
int handedOverFirst = 0;  // with handOverLock held
int handedOverCount = 0;  // with handOverLock held
std::atomic<int> handedOverPending{0};
// Held for one line's copy, never across a file operation.
SRWLOCK handOverLock = SRWLOCK_INIT;

bool HandOverLine(const char* line, size_t length) {
  if (length > kHandedOverLineSize) return false;
  AcquireSRWLockExclusive(&handOverLock);
  const bool room = handedOverCount < kHandedOverCapacity;
  if (room) {
    HandedOverLine& slot = handedOver[(handedOverFirst + handedOverCount) % kHandedOverCapacity];
    slot.length = length;
    std::memcpy(slot.text, line, length);
    ++handedOverCount;
    handedOverPending.fetch_add(1, std::memory_order_seq_cst);
  }
  ReleaseSRWLockExclusive(&handOverLock);
  return room;
}

// The oldest handed-over line, copied out; false when there is none. At the
// library's unloading a thread ended in the middle of a copy may hold the
// lock for good: there it is only tried.
bool TakeHandedOverLine(HandedOverLine& out, bool mayWait) {
  if (mayWait) {
    AcquireSRWLockExclusive(&handOverLock);
  } else if (!TryAcquireSRWLockExclusive(&handOverLock)) {
    return false;
  }
  const bool any = handedOverCount > 0;
  if (any) {
    out = handedOver[handedOverFirst];
    handedOverFirst = (handedOverFirst + 1) % kHandedOverCapacity;
    --handedOverCount;
    handedOverPending.fetch_sub(1, std::memory_order_seq_cst);
  }
  ReleaseSRWLockExclusive(&handOverLock);
  return any;
}

// With the turn held.
void WriteHandedOverLines(HANDLE file, bool mayWait = true) {
  if (handedOverPending.load(std::memory_order_seq_cst) == 0) return;
  HandedOverLine line = {};
  while (TakeHandedOverLine(line, mayWait)) WritePiece(file, line.text, line.length);
}

// A line handed over just as the holder let go of the turn would wait for the
// next line of anyone: whoever finds the turn free writes it now.
void WriteHandedOverLinesIfTurnFree(bool mayWait = true) {
  while (handedOverPending.load(std::memory_order_seq_cst) > 0 &&
         TryAcquireSRWLockExclusive(&logTurn)) {
    HANDLE file = CreateFileW(kLogFileName, FILE_APPEND_DATA, FILE_SHARE_READ, nullptr, OPEN_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    const bool opened = file != INVALID_HANDLE_VALUE;
    if (opened) {
      WriteHandedOverLines(file, mayWait);
      CloseHandle(file);
    }
    ReleaseSRWLockExclusive(&logTurn);
    // A held file: the next line that gets through writes them. At unloading:
    // one pass, whatever is left.
    if (!opened || !mayWait) return;
  }
}

size_t FormatTimeStamp(char* buffer, size_t size) {
  const __time64_t now = _time64(nullptr);
  struct tm local = {};
  if (_localtime64_s(&local, &now) != 0) return 0;
  return strftime(buffer, size, "[%Y-%m-%d %H:%M:%S]", &local);
}

// Time stamp, space and origin: what every line begins with.
size_t FormatLineStart(char* line) {
  size_t length = FormatTimeStamp(line, 64);
  line[length++] = ' ';
  const int origin = FormatText(line + length, 64, "[pid=%lu tid=%lu] ", GetCurrentProcessId(),
                                GetCurrentThreadId());
  return length + (origin > 0 ? static_cast<size_t>(origin) : 0);
}

// With the turn held: the line that counts the lines dropped since the last
// one written, when there were any.
void WriteDroppedNote(HANDLE file, const char* lineStart, size_t startLength) {
  const uint32_t dropped = droppedLines.Take();
  if (dropped == 0) return;
  char note[192];
  std::memcpy(note, lineStart, startLength);
  const int length = FormatText(note + startLength, 64, "[Log] %u lines dropped\r\n",
                                static_cast<unsigned>(dropped));
  if (length > 0) WritePiece(file, note, startLength + static_cast<size_t>(length));
}

}  // namespace

void SetLogEnabled(bool enabled) { logEnabled.store(enabled, std::memory_order_relaxed); }

bool IsLogEnabled() { return logEnabled.load(std::memory_order_relaxed); }

void MarkLogThreadPatient() { patientThread.Set(true); }

void WriteLogLine(const char* text) {
  if (!IsLogEnabled() || text == nullptr) return;
  // Time stamp, space, origin, message, CR LF: one write, so that a process
  // ending in the middle of a line never leaves half of it in the file. Made
  // before our turn at the file is taken, to keep the turn short.
  char line[1024];
  const size_t length = FormatLineStart(line);
  const size_t messageLength = std::strlen(text);
  const bool whole = length + messageLength + 2 <= sizeof line;
  if (whole) {
    std::memcpy(line + length, text, messageLength);
    std::memcpy(line + length + messageLength, "\r\n", 2);
  }

  LogObstacle obstacle = LogObstacle::kTurnTaken;
  HANDLE file = OpenLogForAppend(&obstacle);
  if (file == INVALID_HANDLE_VALUE) {
    if (!whole || !HandOverLine(line, length + messageLength + 2)) droppedLines.Add();
    // Past a held file no thread tries the file again.
    if (obstacle == LogObstacle::kTurnTaken) WriteHandedOverLinesIfTurnFree();
    return;
  }
  WriteDroppedNote(file, line, length);
  if (whole) {
    WritePiece(file, line, length + messageLength + 2);
  } else {  // a plain line longer than the buffer goes out in three pieces
    WritePiece(file, line, length);
    WritePiece(file, text, messageLength);
    WritePiece(file, "\r\n", 2);
  }
  WriteHandedOverLines(file);
  CloseHandle(file);
  ReleaseSRWLockExclusive(&logTurn);
  WriteHandedOverLinesIfTurnFree();
}

void WriteWaitingLogLines() { WriteHandedOverLinesIfTurnFree(false); }

void WriteLogFormatV(const char* format, va_list args) {
  if (!IsLogEnabled()) return;
  char message[kLogMessageSize];
  if (FormatTruncatedV(message, sizeof message, format, args) >= 0) WriteLogLine(message);
}

void WriteLogFormat(const char* format, ...) {
  va_list args{};
  va_start(args, format);
  WriteLogFormatV(format, args);
  va_end(args);
}

}  // namespace artwheel
