#include "base/log.h"

#include <windows.h>

#include <atomic>
#include <cstring>
#include <ctime>

#include "base/log_hand_over.h"
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

double MillisecondsSince(const LARGE_INTEGER& start) {
  LARGE_INTEGER now;
  LARGE_INTEGER frequency;
  QueryPerformanceCounter(&now);
  QueryPerformanceFrequency(&frequency);
  return 1000.0 * static_cast<double>(now.QuadPart - start.QuadPart) /
         static_cast<double>(frequency.QuadPart);
}

// A game thread tries for the turn for about half a millisecond and gives up; our own
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

// When a thread of this copy last found the file held by another program
// (GetTickCount64), 0 since it was last opened.
std::atomic<uint64_t> fileHeldSince{0};

// With the turn held.
HANDLE OpenLogFile() {
  HANDLE file = CreateFileW(kLogFileName, FILE_APPEND_DATA, FILE_SHARE_READ, nullptr, OPEN_ALWAYS,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file != INVALID_HANDLE_VALUE) {
    fileHeldSince.store(0, std::memory_order_relaxed);
  } else if (GetLastError() == ERROR_SHARING_VIOLATION) {
    fileHeldSince.store(GetTickCount64(), std::memory_order_relaxed);
    SetLastError(ERROR_SHARING_VIOLATION);
  }
  return file;
}

// The file opened for appending with our turn taken; INVALID_HANDLE_VALUE, and
// the turn not held, when the line is to be handed over. A turn lasts one open (and
// one line's write): waiting for it never means waiting for another program.
HANDLE OpenLogForAppend(LogObstacle* obstacleMet) {
  const bool patient = patientThread.IsSet();
  // A file another program held a moment ago (a viewer holds it for seconds)
  // costs a game thread no open: its line is handed over at once.
  if (!patient &&
      SkipHeldLogFile(fileHeldSince.load(std::memory_order_relaxed), GetTickCount64())) {
    *obstacleMet = LogObstacle::kFileHeld;
    return INVALID_HANDLE_VALUE;
  }
  LARGE_INTEGER start;
  QueryPerformanceCounter(&start);
  for (int attempt = 1;; ++attempt) {
    *obstacleMet = LogObstacle::kTurnTaken;
    if (!TakeLogTurn(patient, start)) return INVALID_HANDLE_VALUE;
    HANDLE file = OpenLogFile();
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
// budget wait in the process's one hand-over, shared by every copy of the
// library in it, until one of our threads writes them; only a full hand-over
// drops a line, and the drop is counted. A copy that cannot map the shared one
// keeps its own.
HandOverRing ownHandOver;
std::atomic<HandOverRing*> handOver{nullptr};
std::atomic<bool> ourThreadMarked{false};
std::atomic<bool> writerAdded{false};
SRWLOCK handOverSetUp = SRWLOCK_INIT;

HandOverRing& HandOver() {
  HandOverRing* ring = handOver.load(std::memory_order_acquire);
  return ring != nullptr ? *ring : ownHandOver;
}

// Once this copy has one of our threads and the hand-over: those threads
// write handed-over lines, for every copy.
void AddWriterOnce() {
  HandOverRing* ring = handOver.load(std::memory_order_acquire);
  if (ring == nullptr || !ourThreadMarked.load(std::memory_order_acquire)) return;
  if (!writerAdded.exchange(true)) AddHandOverWriter(*ring);
}

HandOverRing* MapSharedHandOver() {
  char name[64];
  if (FormatText(name, sizeof name, kHandOverNameFormat, GetCurrentProcessId()) <= 0) {
    return nullptr;
  }
  wchar_t wideName[64] = {};
  for (size_t i = 0; name[i] != '\0'; ++i) wideName[i] = static_cast<wchar_t>(name[i]);
  // Kept for the life of the process: every copy's lines may wait in it.
  HANDLE mapping = CreateFileMappingW(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0,
                                      sizeof(HandOverRing), wideName);
  if (mapping == nullptr) return nullptr;
  void* view = MapViewOfFile(mapping, FILE_MAP_ALL_ACCESS, 0, 0, sizeof(HandOverRing));
  if (view == nullptr) {
    CloseHandle(mapping);
    return nullptr;
  }
  return static_cast<HandOverRing*>(view);
}

void SetUpHandOver() {
  if (handOver.load(std::memory_order_acquire) != nullptr) return;
  AcquireSRWLockExclusive(&handOverSetUp);
  if (handOver.load(std::memory_order_acquire) == nullptr) {
    HandOverRing* shared = MapSharedHandOver();
    handOver.store(shared != nullptr ? shared : &ownHandOver, std::memory_order_release);
  }
  ReleaseSRWLockExclusive(&handOverSetUp);
  AddWriterOnce();
}

// With the turn held: the lines waiting in the hand-over, oldest first; at
// most a hand-over's worth, so that lines arriving meanwhile cannot keep the
// writer.
void WriteHandedOverLines(HANDLE file) {
  char text[kHandOverLineSize];
  size_t length = 0;
  for (uint32_t i = 0; i < kHandOverCapacity && TakeHandedOverLine(HandOver(), text, &length);
       ++i) {
    WritePiece(file, text, length);
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
  const uint32_t dropped = TakeDroppedLines(HandOver());
  if (dropped == 0) return;
  char note[192];
  std::memcpy(note, lineStart, startLength);
  const int length = FormatText(note + startLength, 64, "[Log] %u lines dropped\r\n",
                                static_cast<unsigned>(dropped));
  if (length > 0) WritePiece(file, note, startLength + static_cast<size_t>(length));
}

}  // namespace

void SetLogEnabled(bool enabled) {
  if (enabled) SetUpHandOver();
  logEnabled.store(enabled, std::memory_order_relaxed);
}

bool IsLogEnabled() { return logEnabled.load(std::memory_order_relaxed); }

void MarkLogThreadPatient() {
  patientThread.Set(true);
  ourThreadMarked.store(true, std::memory_order_release);
  AddWriterOnce();
}

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

  HandOverRing& ring = HandOver();
  const bool patient = patientThread.IsSet();
  // Handed-over lines are written by our threads; where none runs (a process
  // that is not the game, or before the worker starts) by whoever writes next.
  const bool writesHandedOver = patient || !AnyHandOverWriter(ring);
  // A game thread whose earlier line still waits hands this one over behind
  // it: its lines stay in the order it wrote them.
  const bool behindOwnLine = !writesHandedOver && LinesOfThreadWaiting(ring, GetCurrentThreadId());
  HANDLE file = INVALID_HANDLE_VALUE;
  if (!behindOwnLine) {
    LogObstacle obstacle = LogObstacle::kTurnTaken;
    file = OpenLogForAppend(&obstacle);
  }
  if (file == INVALID_HANDLE_VALUE) {
    if (!whole || !HandOverLine(ring, GetCurrentThreadId(), line, length + messageLength + 2)) {
      CountDroppedLine(ring);
    }
    return;
  }
  WriteDroppedNote(file, line, length);
  // Older than this line: written first.
  if (writesHandedOver) WriteHandedOverLines(file);
  if (whole) {
    WritePiece(file, line, length + messageLength + 2);
  } else {  // a plain line longer than the buffer goes out in three pieces
    WritePiece(file, line, length);
    WritePiece(file, text, messageLength);
    WritePiece(file, "\r\n", 2);
  }
  CloseHandle(file);
  ReleaseSRWLockExclusive(&logTurn);
  // Lines handed over while this one was written.
  if (patient) WriteWaitingLogLines();
}

void WriteWaitingLogLines() {
  if (!AnyLineHandedOver(HandOver())) return;
  // Our threads wait for the turn; at the library's unloading (the only time
  // another thread asks) the turn is only tried: a thread ended while it held
  // it would hold it for good.
  if (patientThread.IsSet()) {
    AcquireSRWLockExclusive(&logTurn);
  } else if (!TryAcquireSRWLockExclusive(&logTurn)) {
    return;
  }
  HANDLE file = OpenLogFile();
  // A held file: the next pass writes them.
  if (file != INVALID_HANDLE_VALUE) {
    WriteHandedOverLines(file);
    CloseHandle(file);
  }
  ReleaseSRWLockExclusive(&logTurn);
}

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
