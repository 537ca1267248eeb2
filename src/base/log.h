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
// program holds. Every other thread is the game's: it gives up within about
// 1 ms and hands its line to the thread that holds the turn, which writes it
// after its own.
void MarkLogThreadPatient();

// Appends one line when logging is on; does nothing (no system call) when off.
// Lines dropped (more handed over than there is room for, 32) since the last
// one written are counted, and the next line written is preceded by
// "[Log] %u lines dropped".
void WriteLogLine(const char* text);

// Lines handed over that no later line has written yet, written now if the
// file is free. For the library's unloading: a copy that logs nothing more
// (the second copy in a chain of proxies) would otherwise lose them.
void WriteWaitingLogLines();

// printf-style message cut to 511 characters, then WriteLogLine. Formats
// nothing when logging is off.
void WriteLogFormat(const char* format, ...) ARTWHEEL_PRINTF(1, 2);
void WriteLogFormatV(const char* format, va_list args) ARTWHEEL_PRINTF(1, 0);

}  // namespace artwheel
