#include "diagnostics/hud_dump.h"

#include <windows.h>

#include "base/ini_text.h"
#include "base/log.h"
#include "base/memory.h"
#include "base/text_format.h"
#include "base/wide_path.h"
#include "diagnostics/diagnostics_settings.h"
#include "diagnostics/game_objects.h"
#include "diagnostics/hud_capture.h"
#include "game/game_layout.h"
#include "game/game_memory.h"

namespace artwheel {
namespace {

constexpr uint32_t kDumpMenuBytes = 0x500;
constexpr uint32_t kDumpSlotEnd = 0x500;
constexpr uint32_t kDumpObjectBytes = 0x100;
constexpr uint32_t kDumpPlayerBytes = 0x500;
constexpr uint32_t kNeverFollowedSlot = 0x008;

void* AsPointer(uint64_t value) { return reinterpret_cast<void*>(value); }

void DumpWords(std::FILE* file, const char* label, uint64_t object, uint32_t bytes) {
  std::fprintf(file, "[Range] %s base=%p size=0x%X\n", label, AsPointer(object), bytes);
  ForEachReadableWord<uint32_t>(object, bytes, [&](uint32_t offset, uint32_t value) {
    std::fprintf(file, "%s+0x%03X u32=%u hex=0x%08X\n", label, offset, value, value);
    return true;
  });
}

void DumpMenuState(std::FILE* file, uint64_t menu) {
  std::fprintf(file, "[Pointer] MenuStateManager=%p RVA=0x%llX\n", AsPointer(menu),
               static_cast<unsigned long long>(kMenuStateManagerOffset));
  DumpWords(file, "MenuState", menu, kDumpMenuBytes);
  std::fprintf(file, "[MenuStatePointers]\n");
  for (uint32_t slot = 0; slot <= kDumpSlotEnd; slot += 8) {
    uint64_t value = 0;
    if (!ReadU64IfReadable(menu + slot, &value)) continue;
    const bool readable = IsObjectPointer(value);
    std::fprintf(file, "MenuState+0x%03X ptr=%p readable=%u\n", slot, AsPointer(value),
                 readable ? 1u : 0u);
    if (!readable || slot == kNeverFollowedSlot) continue;
    char label[48];
    FormatText(label, sizeof label, "MenuState+0x%03X->", slot);
    DumpWords(file, label, value, kDumpObjectBytes);
  }
}

void DumpPlayer(std::FILE* file, uint64_t manager, uint64_t player) {
  std::fprintf(file, "[Pointer] GameDataManager=%p PlayerGameData=%p\n", AsPointer(manager),
               AsPointer(player));
  DumpWords(file, "PlayerGameData", player, kDumpPlayerBytes);
}

}  // namespace

// False, logged once naming the folder, when the path is too long.
bool DumpFilePath(const char* fileName, char (&path)[kUtf8PathSize]) {
  static bool tooLongLogged = false;
  const char* folder = HudProbeConfig().folder;
  if (FormatText(path, sizeof path, "%s%s", folder, fileName) >= 0 && FitsSystemPath(path)) {
    return true;
  }
  path[0] = '\0';
  if (!tooLongLogged) {
    tooLongLogged = true;
    WriteLogFormat(
        "[HudProbe] Dump paths in %s are longer than the %u characters Windows allows; no dumps",
        folder, static_cast<unsigned>(kPathUnits - 1));
  }
  return false;
}

void DumpGlobalPointers(std::FILE* file) {
  uint64_t base = 0;
  uint64_t ntHeaders = 0;
  if (!GameImageHeaders(&base, &ntHeaders)) return;  // not even the limit line
  const uint32_t limit = HudProbeConfig().dumpGlobalPointerLimit;
  std::fprintf(file, "[GlobalPointers] limit=%u\n", limit);
  uint32_t written = 0;
  bool clipped = false;
  WalkDataSlots([&](const char* section, uint32_t rva, uint64_t value) {
    const bool readable = IsObjectPointer(value);
    if (!IsListedSlot(value, readable)) return true;
    if (written >= limit) {
      std::fprintf(file, "[GlobalPointers] clipped after %u entries\n", written);
      clipped = true;
      return false;
    }
    std::fprintf(file, "%s RVA=0x%X value=%p readable=%u\n", section, rva, AsPointer(value),
                 readable ? 1u : 0u);
    ++written;
    return true;
  });
  if (!clipped) std::fprintf(file, "[GlobalPointers] entries=%u\n", written);
}

void DumpSnapshot(const char* label) {
  char path[kUtf8PathSize];
  const char* fileName =
      EqualsIgnoreCaseAscii(label, "HUD_VISIBLE") ? kVisibleDumpFile : kHiddenDumpFile;
  if (!DumpFilePath(fileName, path)) return;
  std::FILE* file = OpenFileUtf8(path, L"a");
  if (file == nullptr) {
    WriteLogFormat("[HudProbe] Could not open dump file: %s", path[0] != '\0' ? path : fileName);
    return;
  }
  const uint64_t base = GameModuleBase();
  std::fprintf(file, "============================================================\n");
  std::fprintf(file, "[Snapshot] %s tick=%llu base=%p\n", label,
               static_cast<unsigned long long>(GetTickCount64()), AsPointer(base));
  if (base != 0) {
    if (const uint64_t menu = ReachableMenuState()) DumpMenuState(file, menu);
    uint64_t manager = 0;
    if (const uint64_t player = ReachablePlayerData(&manager)) DumpPlayer(file, manager, player);
  }
  if (HudProbeConfig().dumpGlobalPointers) {
    DumpGlobalPointers(file);
  } else {
    std::fprintf(
        file, "[GlobalPointers] skipped; enable [HudProbe] DumpGlobalPointers=1 to include them\n");
  }
  // A full disk or a lost share must not be reported as a dump.
  const bool written = std::ferror(file) == 0;
  if (std::fclose(file) != 0 || !written) {
    WriteLogFormat("[HudProbe] Could not write dump file: %s", path);
    return;
  }
  WriteLogFormat("[HudProbe] Dumped %s snapshot to %s", label, path);
}

}  // namespace artwheel
