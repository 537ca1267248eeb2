#pragma once
// HudProbe's dumps: one readable block per snapshot, appended to
// hud_visible_dump.txt or hud_hidden_dump.txt beside the configuration file.
#include <cstdio>

namespace artwheel {

inline constexpr char kVisibleDumpFile[] = "hud_visible_dump.txt";
inline constexpr char kHiddenDumpFile[] = "hud_hidden_dump.txt";

void DumpSnapshot(const char* label);
void DumpGlobalPointers(std::FILE* file);

// The dump file's path beside the configuration file; false when it does not fit.
bool DumpFilePath(const char* fileName, char (&path)[260]);

}  // namespace artwheel
