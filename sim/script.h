#pragma once
// The scenario's timeline: one command a line, run in order on the main thread.
#include <cstdio>

namespace sim {

// Runs the script file; returns the process exit code.
int RunScript(const char* scriptPath, std::FILE* results);

}  // namespace sim
