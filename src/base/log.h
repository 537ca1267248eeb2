#pragma once
// The log file "artwheel_log.txt" in the process's current directory: one
// open/append/close per line, so a crash never loses a line already written.
#include "base/text_format.h"

namespace artwheel {

inline constexpr wchar_t kLogFileName[] = L"artwheel_log.txt";
inline constexpr size_t kLogMessageSize = 512;

// Logging is off until switched on ([General] IsDebug).
void SetLogEnabled(bool enabled);
bool IsLogEnabled();

// The calling thread is one of ours (the worker): it waits for the log's turn
// behind the other threads' lines and up to about 20 ms for a file another
// program holds, and it writes the lines handed over. Every other thread is
// the game's: it gives up within about 0.5 ms, hands its line over and leaves;
// when it gets the turn it writes its own line only (and hands it over too
// while an earlier line of its own still waits, to keep its order).
void MarkLogThreadPatient();

// Appends one line when logging is on; does nothing (no system call) when off.
// Lines dropped (more handed over than there is room for, 32, in the process's
// one hand-over, shared by every copy of the library) since the last one
// written are counted, and the next line written is preceded by
// "[Log] %u lines dropped".
void WriteLogLine(const char* text);

// The lines handed over (by any copy of the library in the process) that are
// not written yet, written now. Our threads call it in every tick and wait for
// the turn; called by any other thread (the library's unloading) it only tries
// the turn, once.
void WriteWaitingLogLines();

// printf-style message cut to 511 characters, then WriteLogLine. Formats
// nothing when logging is off.
void WriteLogFormat(const char* format, ...) ARTWHEEL_PRINTF(1, 2);
void WriteLogFormatV(const char* format, va_list args) ARTWHEEL_PRINTF(1, 0);

}  // namespace artwheel
