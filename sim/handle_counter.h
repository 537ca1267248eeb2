#pragma once
// Counts the handles that artwheel's DLL opens and closes, by redirecting its
// own imports of the functions that make and release them (kernel objects,
// find handles, C runtime files, module references, GDI objects, borrowed
// screen DCs and windows).
#include <cstdio>

namespace sim {

// Redirects the imports (once) and starts counting.
void StartCountingHandles(std::FILE* results);

// One line: per kind, the handles opened and closed since counting started
// and how many are held. "Held" is the least seen over a quarter of a second,
// so a handle that lives only for one log line or one frame does not count.
void ReportHandles(std::FILE* results, const char* label);

}  // namespace sim
