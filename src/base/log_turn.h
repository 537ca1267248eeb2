#pragma once
// Who waits how long to write a log line. Game threads (render, input,
// loading) never spend more than about 1 ms on a line: they try for the log's
// turn, which our own threads take one line at a time, and for a file another
// program holds, for half of that, which leaves the other half for their own
// line's open and write. Our own (patient) threads wait for the turn however
// long it takes and for a held file up to about 20 ms. Platform-free.

#include <cstdint>

namespace artwheel {

inline constexpr double kGameThreadLogBudgetMs = 0.5;
inline constexpr int kGameThreadOpenAttempts = 3;
inline constexpr double kPatientLogBudgetMs = 20.0;

enum class LogObstacle {
  kTurnTaken,   // another thread is writing its line
  kFileHeld,    // another program holds the file without write sharing
  kFileFailed,  // any other failure to open the file
};

// Whether a thread that met `obstacle` after `attempts` tries and `spentMs`
// since its first goes on trying; false hands the line over
// (base/log_hand_over.h).
bool KeepTryingForLog(bool patient, LogObstacle obstacle, int attempts, double spentMs);

// Whether a game thread hands its line over without trying the file, which
// another program held at `heldSinceMs` (0: not held since last opened): for
// kHeldLogFileRestMs after, so that a viewer holding it costs no open.
inline constexpr uint64_t kHeldLogFileRestMs = 100;
bool SkipHeldLogFile(uint64_t heldSinceMs, uint64_t nowMs);

// Whether one of our threads, `spentMs` into its line, lets the game threads
// that are trying for the turn have it first: for as long as they may try.
bool GiveWayForLog(int gameThreadsTrying, double spentMs);

}  // namespace artwheel
