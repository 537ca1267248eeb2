#pragma once
// HudProbe's dumps: one readable block per snapshot, appended to
// hud_visible_dump.txt or hud_hidden_dump.txt in the library's folder.
#include <cstdio>

#include "base/utf8_text.h"

namespace artwheel {

inline constexpr char kVisibleDumpFile[] = "hud_visible_dump.txt";
inline constexpr char kHiddenDumpFile[] = "hud_hidden_dump.txt";

void DumpSnapshot(const char* label);
void DumpGlobalPointers(std::FILE* file);

// The dump file's path in the library's folder; false (said once) when it is
// longer than the system takes.
bool DumpFilePath(const char* fileName, char (&path)[kUtf8PathSize]);

}  // namespace artwheel
