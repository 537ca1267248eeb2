#include "game/game_checks.h"

#include <windows.h>

#include <cstring>
#include <string_view>

#include "base/log.h"
#include "base/memory.h"
#include "base/pe_image.h"
#include "base/wide_path.h"
#include "game/address_checks.h"
#include "game/game_layout.h"
#include "game/game_memory.h"
#include "game/host_name.h"

namespace artwheel {
namespace {

enum class Check { kPending, kPassed, kFailed };

Check pointerCheck = Check::kPending;
Check functionCheck = Check::kPending;
bool gameReported = false;

struct GameAddress {
  const char* name;
  uint64_t offset;
};

constexpr GameAddress kPointerVariables[] = {{"GameDataManager pointer", kGameDataManagerOffset},
                                             {"MenuStateManager pointer", kMenuStateManagerOffset}};
constexpr GameAddress kFunctions[] = {{"GameResolveArt", kGameResolveArtOffset},
                                      {"GameEquipArt", kGameEquipArtOffset}};
constexpr uint64_t kLoggedCodeBytes = 16;

ImageRange GameImage() {
  const uint64_t base = GameModuleBase();
  const IMAGE_NT_HEADERS64* nt =
      base != 0 ? ImageNtHeaders(reinterpret_cast<HMODULE>(base)) : nullptr;
  if (nt == nullptr) return {};
  return {base, base + nt->OptionalHeader.SizeOfImage};
}

bool AddressServes(const GameAddress& address, AddressUse use, uint64_t size, ImageRange image) {
  MemoryRegion region;
  const uint64_t at = image.begin + address.offset;
  return image.begin != 0 && QueryRegion(at, &region) && RegionServes(region, use, at, size, image);
}

// Checks every address of the list; `failed` names those that did not pass.
template <size_t N>
bool CheckAddresses(const GameAddress (&addresses)[N], AddressUse use, uint64_t size, bool* passed,
                    char (&failed)[160]) {
  const ImageRange image = GameImage();
  failed[0] = '\0';
  for (size_t i = 0; i < N; ++i) {
    passed[i] = AddressServes(addresses[i], use, size, image);
    if (passed[i]) continue;
    char item[64];
    FormatText(item, sizeof item, "%s%s (+0x%llX)", failed[0] != '\0' ? ", " : "",
               addresses[i].name, static_cast<unsigned long long>(addresses[i].offset));
    AppendText(failed, sizeof failed, item);
  }
  return failed[0] == '\0';
}

void LogCheckFailure(const char* failed, const char* memoryKind) {
  WriteLogFormat(
      "[Core] Game address check failed: %s not in committed, %s memory of the game's image; "
      "combinations, keys and the panel are off for this run, the game gets every button",
      failed, memoryKind);
}

// "1.6.0.0" from the executable's version resource, "none" without one.
void ReadFileVersion(char* out, size_t size) {
  FormatText(out, size, "none");
  const auto module = reinterpret_cast<HMODULE>(GameModuleBase());
  HRSRC found = FindResourceW(module, MAKEINTRESOURCEW(1), MAKEINTRESOURCEW(16));  // RT_VERSION
  HGLOBAL loaded = found != nullptr ? LoadResource(module, found) : nullptr;
  const void* bytes = loaded != nullptr ? LockResource(loaded) : nullptr;
  uint16_t parts[4] = {};
  if (bytes == nullptr ||
      !FindFileVersion(static_cast<const uint8_t*>(bytes), SizeofResource(module, found), parts)) {
    return;
  }
  FormatText(out, size, "%u.%u.%u.%u", parts[0], parts[1], parts[2], parts[3]);
}

// The executable's file name in UTF-8.
void ReadGameFileName(char* out, size_t size) {
  char utf8[kUtf8PathSize];
  const size_t length = ModuleFileNameUtf8(nullptr, utf8, sizeof utf8);
  const bool read = length != 0 && length < sizeof utf8;
  const std::string_view name = read ? ExecutableFileName(utf8) : "?";
  FormatText(out, size, "%.*s", static_cast<int>(name.size()), name.data());
}

// The function's first bytes in hex, or why they are not shown.
void DescribeCode(const GameAddress& function, bool usable, char* out, size_t size) {
  const uint64_t at = GameModuleBase() + function.offset;
  if (!usable || !IsReadable(at, kLoggedCodeBytes)) {
    FormatText(out, size, "%s", usable ? "unreadable" : "not code");
    return;
  }
  uint8_t bytes[kLoggedCodeBytes];
  std::memcpy(bytes, reinterpret_cast<const void*>(at), sizeof bytes);
  FormatHexBytes(bytes, sizeof bytes, out, size);
}

void LogGameLine(const bool* functionsUsable) {
  char name[MAX_PATH * 3];
  char version[32];
  char code[2][40];
  ReadGameFileName(name, sizeof name);
  ReadFileVersion(version, sizeof version);
  for (int i = 0; i < 2; ++i)
    DescribeCode(kFunctions[i], functionsUsable[i], code[i], sizeof code[i]);
  const auto module = reinterpret_cast<HMODULE>(GameModuleBase());
  const IMAGE_NT_HEADERS64* nt = module != nullptr ? ImageNtHeaders(module) : nullptr;
  const unsigned long imageSize = nt != nullptr ? nt->OptionalHeader.SizeOfImage : 0;
  const unsigned long stamp = nt != nullptr ? nt->FileHeader.TimeDateStamp : 0;
  WriteLogFormat(
      "[Core] Game: %s, file version %s, image size 0x%lX, time stamp 0x%08lX; "
      "%s +0x%llX: %s; %s +0x%llX: %s",
      name, version, imageSize, stamp, kFunctions[0].name,
      static_cast<unsigned long long>(kFunctions[0].offset), code[0], kFunctions[1].name,
      static_cast<unsigned long long>(kFunctions[1].offset), code[1]);
}

}  // namespace

bool StaticPointersUsable() {
  if (pointerCheck == Check::kPending && GameModuleBase() != 0) {
    bool passed[2] = {};
    char failed[160];
    const bool allPassed = CheckAddresses(kPointerVariables, AddressUse::kPointerVariable,
                                          sizeof(uint64_t), passed, failed);
    if (!allPassed) LogCheckFailure(failed, "writable");
    pointerCheck = allPassed ? Check::kPassed : Check::kFailed;
  }
  return pointerCheck == Check::kPassed;
}

bool GameFunctionsUsable() { return functionCheck == Check::kPassed; }

bool GameAccessAllowed() {
  return pointerCheck != Check::kFailed && functionCheck != Check::kFailed;
}

bool ReportGameOnce() {
  if (gameReported) return false;
  // With failed pointers the data manager is never read, so the line comes at once.
  if (StaticPointersUsable() && GameDataManagerPointer() == 0) return false;
  if (pointerCheck == Check::kPending) return false;  // the game's image is not known yet
  gameReported = true;
  bool usable[2] = {};
  char failed[160];
  const bool passed =
      CheckAddresses(kFunctions, AddressUse::kCode, kLoggedCodeBytes, usable, failed);
  LogGameLine(usable);
  if (!passed) LogCheckFailure(failed, "executable");
  functionCheck = passed ? Check::kPassed : Check::kFailed;
  return true;
}

}  // namespace artwheel
