#pragma once
// What others see of the game while it runs: the process's memory as a task
// manager shows it, and a log viewer that keeps artwheel's log open.
#include <cstdint>
#include <cstdio>

namespace sim {

// One line: the process's private bytes (its committed private memory) and
// its working set.
void ReportMemory(std::FILE* results, const char* label);

// A viewer opens the log on a thread of its own, reads it, keeps it open for
// the given time and closes it; the timeline goes on meanwhile. The viewer
// shares reading and writing, as text viewers and editors do.
void HoldLogOpen(std::FILE* results, const char* logFile, uint32_t milliseconds);

// Before the game ends: waits (up to MILLISECONDS) until nobody writes the
// log, as the library does, with the file open, and no line waits in the
// library's hand-over: every line a game thread handed over is in the file.
void WaitUntilLogWritten(const char* logFile, uint32_t milliseconds);

// One line: how many viewers opened the log, found it missing, and hold it now.
void ReportLogViewers(std::FILE* results);

}  // namespace sim
