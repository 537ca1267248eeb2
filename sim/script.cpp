#include "script.h"

#include <windows.h>
#include <xinput.h>

#include <cstdlib>
#include <cstring>

#include "alloc_counter.h"
#include "desktop.h"
#include "devices.h"
#include "file_version.h"
#include "game_input.h"
#include "game_renderer.h"
#include "game_world.h"
#include "handle_counter.h"
#include "hud_world.h"
#include "lookups.h"
#include "outside_views.h"
#include "pads.h"

extern "C" SimPadState SimPadTable[kSimPadCount];

namespace sim {
namespace {

constexpr DWORD kWaitTimeoutMs = 10000;
constexpr char kLogFile[] = "artwheel_log.txt";

struct Line {
  char text[1024];
  char* words[8];
  int count;
  char rest[1024];  // the text after the first word, for commands that take free text
};

bool SplitLine(char* raw, Line& line) {
  raw[strcspn(raw, "\r\n")] = '\0';
  std::snprintf(line.text, sizeof line.text, "%s", raw);
  char* start = line.text;
  while (*start == ' ' || *start == '\t') ++start;
  if (*start == '\0' || *start == '#') return false;
  line.count = 0;
  const char* afterCommand = start + strcspn(start, " \t");
  afterCommand += strspn(afterCommand, " \t");
  std::snprintf(line.rest, sizeof line.rest, "%s", afterCommand);
  char* cursor = start;
  while (*cursor != '\0' && line.count < 8) {
    line.words[line.count++] = cursor;
    while (*cursor != '\0' && *cursor != ' ' && *cursor != '\t') ++cursor;
    if (*cursor == '\0') break;
    *cursor++ = '\0';
    while (*cursor == ' ' || *cursor == '\t') ++cursor;
  }
  return line.count > 0;
}

// The free text after the command's first argument.
const char* AfterFirstArgument(const Line& line) {
  const char* text = line.rest + std::strcspn(line.rest, " \t");
  return text + std::strspn(text, " \t");
}

uint32_t Number(const char* text) { return static_cast<uint32_t>(std::strtoul(text, nullptr, 0)); }

// Counts the occurrences of text in the log, read with every sharing mode so
// that the library's own appends are never refused.
int CountInLog(const char* text) {
  HANDLE file =
      CreateFileA(kLogFile, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                  nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return 0;
  static char buffer[4 << 20];
  DWORD got = 0;
  ReadFile(file, buffer, sizeof buffer - 1, &got, nullptr);
  CloseHandle(file);
  buffer[got] = '\0';
  int count = 0;
  const size_t length = std::strlen(text);
  for (const char* at = std::strstr(buffer, text); at != nullptr && length > 0;
       at = std::strstr(at + length, text)) {
    ++count;
  }
  return count;
}

template <typename Condition>
bool WaitFor(Condition condition) {
  const ULONGLONG deadline = GetTickCount64() + kWaitTimeoutMs;
  while (!condition()) {
    if (GetTickCount64() > deadline) return false;
    PumpMessagesFor(5);
  }
  return true;
}

void SetPad(int index, const char* value) {
  if (index < 0 || index >= kSimPadCount) return;
  if (std::strcmp(value, "off") == 0) {
    SimPadTable[index].connected = 0;
    return;
  }
  SimPadTable[index].buttons = static_cast<LONG>(Number(value));
  SimPadTable[index].packet = SimPadTable[index].packet + 1;
  SimPadTable[index].connected = 1;
}

// presspad 0xBUTTONS equip|TEXT: pad 0 holds the buttons until the game's
// equip function was called again, or until the log holds TEXT once more.
void PressPadUntilAnswered(std::FILE* results, const char* buttons, const char* answer) {
  const bool equip = std::strcmp(answer, "equip") == 0;
  const int before = equip ? EquipCallCount() : CountInLog(answer);
  SetPad(0, buttons);
  if (!WaitFor([&] { return (equip ? EquipCallCount() : CountInLog(answer)) > before; })) {
    std::fprintf(results, "timeout presspad %s %s\n", buttons, answer);
  }
  SetPad(0, "0");
}

void ReadPad(std::FILE* results, DWORD index, const char* label) {
  XINPUT_STATE state = {};
  const DWORD rc = XInputGetState(index, &state);
  std::fprintf(results, "read %s pad=%lu rc=%lu buttons=0x%04X\n", label, index, rc,
               state.Gamepad.wButtons);
}

}  // namespace

int RunScript(const char* scriptPath, std::FILE* results) {
  std::FILE* script = std::fopen(scriptPath, "r");
  if (script == nullptr) {
    std::fprintf(stderr, "sim: cannot open script %s\n", scriptPath);
    return 2;
  }
  const ULONGLONG start = GetTickCount64();
  char raw[1024];
  int exitCode = 0;
  bool running = true;
  while (running && std::fgets(raw, sizeof raw, script) != nullptr) {
    Line line = {};
    if (!SplitLine(raw, line)) continue;
    const char* command = line.words[0];
    const char* arg1 = line.count > 1 ? line.words[1] : "";
    const char* arg2 = line.count > 2 ? line.words[2] : "";
    if (std::strcmp(command, "pad") == 0) {
      SetPad(static_cast<int>(Number(arg1)), arg2);
    } else if (std::strcmp(command, "wait") == 0) {
      PumpMessagesFor(Number(arg1));
    } else if (std::strcmp(command, "at") == 0) {  // at MS: MS after the timeline began
      const ULONGLONG due = start + Number(arg1);
      const ULONGLONG now = GetTickCount64();
      if (due > now) PumpMessagesFor(static_cast<DWORD>(due - now));
    } else if (std::strcmp(command, "waitlog") == 0) {
      const char* text = line.rest;
      if (!WaitFor([&] { return CountInLog(text) > 0; })) {
        std::fprintf(results, "timeout waitlog %s\n", text);
      }
    } else if (std::strcmp(command, "waitlogn") == 0) {  // waitlogn N TEXT
      const int wanted = static_cast<int>(Number(arg1));
      const char* text = AfterFirstArgument(line);
      if (!WaitFor([&] { return CountInLog(text) >= wanted; })) {
        std::fprintf(results, "timeout waitlogn %d %s\n", wanted, text);
      }
    } else if (std::strcmp(command, "waitequips") == 0) {
      const int wanted = static_cast<int>(Number(arg1));
      if (!WaitFor([&] { return EquipCallCount() >= wanted; })) {
        std::fprintf(results, "timeout waitequips %d\n", wanted);
      }
    } else if (std::strcmp(command, "menu") == 0) {
      if (!SetMenuField(arg1, Number(arg2)))
        std::fprintf(results, "error unknown field %s\n", arg1);
    } else if (std::strcmp(command, "menupresent") == 0) {
      SetMenuPresent(Number(arg1) != 0);
    } else if (std::strcmp(command, "player") == 0) {
      SetPlayerPresent(Number(arg1) != 0);
    } else if (std::strcmp(command, "lookup") == 0) {
      SetArtLookupPresent(Number(arg1) != 0);
    } else if (std::strcmp(command, "equipped") == 0) {
      SetEquippedResolvedId(Number(arg1));
    } else if (std::strcmp(command, "own") == 0) {
      SetOwnedArt(Number(arg1), Number(arg2));
    } else if (std::strcmp(command, "equipresult") == 0) {
      SetEquipResult(static_cast<int>(Number(arg1)), static_cast<int32_t>(Number(arg2)));
    } else if (std::strcmp(command, "read") == 0) {
      ReadPad(results, 0, arg1);
    } else if (std::strcmp(command, "readpad") == 0) {
      ReadPad(results, Number(arg1), arg2);
    } else if (std::strcmp(command, "dinput") == 0) {
      CreateDirectInput(results, true);
    } else if (std::strcmp(command, "dinputnull") == 0) {
      CreateDirectInput(results, false);
    } else if (std::strcmp(command, "window") == 0) {
      SetWindowSize(results, Number(arg1), Number(arg2));
    } else if (std::strcmp(command, "frames") == 0) {
      if (!WaitFrames(static_cast<int>(Number(arg1)))) std::fprintf(results, "timeout frames\n");
    } else if (std::strcmp(command, "screenshot") == 0) {
      Screenshot(results, arg1);
    } else if (std::strcmp(command, "hud") == 0) {
      SetHudVisible(std::strcmp(arg1, "visible") == 0);
    } else if (std::strcmp(command, "globalslots") == 0) {
      SetGlobalSlots(results, Number(arg1), Number(arg2));
    } else if (std::strcmp(command, "menuslot") == 0) {
      SetMenuSlot(Number(arg1), arg2, line.count > 3 ? Number(line.words[3]) : 0);
    } else if (std::strcmp(command, "objaddr") == 0) {
      WriteObjectAddress(results, Number(arg1));
    } else if (std::strcmp(command, "objwords") == 0) {  // objwords OBJECT OFFSET COUNT VALUE
      SetObjectWords(Number(arg1), Number(arg2), Number(line.count > 3 ? line.words[3] : "0"),
                     Number(line.count > 4 ? line.words[4] : "0"));
    } else if (std::strcmp(command, "menuwords") == 0) {  // menuwords OFFSET COUNT VALUE
      SetMenuWords(Number(arg1), Number(arg2), Number(line.count > 3 ? line.words[3] : "0"));
    } else if (std::strcmp(command, "playerwords") == 0) {
      SetPlayerWords(Number(arg1), Number(arg2), Number(line.count > 3 ? line.words[3] : "0"));
    } else if (std::strcmp(command, "key") == 0) {  // key F6 down|up
      SendKey(results, arg1, std::strcmp(arg2, "up") != 0);
    } else if (std::strcmp(command, "foreground") == 0) {  // foreground other|game
      BringToFront(results, arg1);
    } else if (std::strcmp(command, "press") == 0) {
      // press F6: held until HudProbe answers in the log (3 s at most), so a
      // busy machine cannot make the library's 16 ms poll miss it.
      const int before = CountInLog("[HudProbe] ");
      SendKey(results, arg1, true);
      PumpMessagesFor(50);
      const ULONGLONG deadline = GetTickCount64() + 3000;
      while (CountInLog("[HudProbe] ") == before && GetTickCount64() < deadline)
        PumpMessagesFor(10);
      SendKey(results, arg1, false);
    } else if (std::strcmp(command, "device") == 0) {
      CreateNamedDevice(results, arg1, arg2);
    } else if (std::strcmp(command, "format") == 0) {
      SetNamedDeviceFormat(results, arg1, arg2);
    } else if (std::strcmp(command, "acquire") == 0) {
      AcquireNamedDevice(results, arg1, line.count > 2 ? Number(arg2) : 16);
    } else if (std::strcmp(command, "getstate") == 0) {
      ReadNamedDeviceState(results, arg1, Number(arg2), line.count > 3 ? line.words[3] : "");
    } else if (std::strcmp(command, "getdata") == 0) {
      ReadNamedDeviceData(results, arg1, Number(arg2), line.count > 3 ? Number(line.words[3]) : 24,
                          line.count > 4 ? line.words[4] : "");
    } else if (std::strcmp(command, "devbyte") == 0) {
      SetDeviceStateByte(Number(arg1), static_cast<uint8_t>(Number(arg2)));
    } else if (std::strcmp(command, "devdword") == 0) {
      SetDeviceStateDword(Number(arg1), Number(arg2));
    } else if (std::strcmp(command, "devfill") == 0) {
      for (uint32_t i = 0; i < Number(arg2); ++i) SetDeviceStateByte(Number(arg1) + i, 0x80);
    } else if (std::strcmp(command, "devclear") == 0) {
      ClearDeviceScript();
    } else if (std::strcmp(command, "devevent") == 0) {
      QueueDeviceEvent(Number(arg1), Number(arg2));
    } else if (std::strcmp(command, "clock") == 0) {
      std::fprintf(results, "clock %s ms=%llu\n", arg1, GetTickCount64() - start);
    } else if (std::strcmp(command, "presspad") == 0) {
      PressPadUntilAnswered(results, arg1, AfterFirstArgument(line));
    } else if (std::strcmp(command, "equips") == 0) {
      ReportEquips(results, arg1);
    } else if (std::strcmp(command, "counthandles") == 0) {
      StartCountingHandles(results);
    } else if (std::strcmp(command, "handles") == 0) {
      ReportHandles(results, arg1);
    } else if (std::strcmp(command, "memory") == 0) {
      ReportMemory(results, arg1);
    } else if (std::strcmp(command, "holdlog") == 0) {
      HoldLogOpen(results, kLogFile, Number(arg1));
    } else if (std::strcmp(command, "logviewers") == 0) {
      ReportLogViewers(results);
    } else if (std::strcmp(command, "countallocs") == 0) {
      StartCountingAllocations(results);
    } else if (std::strcmp(command, "allocs") == 0) {
      StopCountingAllocations(results, arg1);
    } else if (std::strcmp(command, "screenshot2") == 0) {
      ScreenshotSecond(results, arg1);
    } else if (std::strcmp(command, "seconddevice") == 0) {
      StartSecondDevice(results, Number(arg1), Number(arg2));
    } else if (std::strcmp(command, "copyfile") == 0) {
      // copyfile FROM TO: the player replaces a file of the game's folder.
      std::fprintf(results, "copyfile %s %s\n", arg2,
                   CopyFileA(arg1, arg2, FALSE) ? "ok" : "error");
    } else if (std::strcmp(command, "faultypresent") == 0) {
      UseFaultyPresent();
    } else if (std::strcmp(command, "failpresent") == 0) {
      FailPresents(results, static_cast<long>(Number(arg1)), static_cast<int>(Number(arg2)));
    } else if (std::strcmp(command, "recreate") == 0) {
      RecreateDevice(results);
    } else if (std::strcmp(command, "oldrefs") == 0) {
      OldDeviceReferences(results, arg1);
    } else if (std::strcmp(command, "references") == 0) {
      BackBufferReferences(results, arg1);
    } else if (std::strcmp(command, "inikey") == 0) {
      // inikey SECTION KEY VALUE: the player edits artwheel.ini while the game runs.
      char path[MAX_PATH];
      GetFullPathNameA("artwheel.ini", sizeof path, path, nullptr);
      WritePrivateProfileStringA(arg1, arg2, line.count > 3 ? line.words[3] : "", path);
    } else if (std::strcmp(command, "pixel") == 0) {
      Pixel(results, Number(arg1), Number(arg2), line.count > 3 ? line.words[3] : "");
    } else if (std::strcmp(command, "presentsync") == 0) {
      PresentWithSyncInterval(results, Number(arg1));
    } else if (std::strcmp(command, "fps") == 0) {
      SetFrameRate(Number(arg1));
    } else if (std::strcmp(command, "statsreset") == 0) {
      ResetFrameStats();
    } else if (std::strcmp(command, "statson") == 0 || std::strcmp(command, "statsoff") == 0) {
      RecordFrameStats(std::strcmp(command, "statson") == 0);
    } else if (std::strcmp(command, "stats") == 0) {
      FrameStats(results, arg1);
    } else if (std::strcmp(command, "procaddr") == 0) {
      LookUpProcedure(results, arg1, arg2, line.count > 3 ? line.words[3] : "");
    } else if (std::strcmp(command, "d3dmodules") == 0) {
      DescribeD3DModules(results);
    } else if (std::strcmp(command, "readvia") == 0) {
      ReadPadThroughLibrary(results, arg1, arg2);
    } else if (std::strcmp(command, "loaddll") == 0) {
      HMODULE module = LoadLibraryA(arg1);
      std::fprintf(results, "loaddll %s %s %lu\n", arg1, module != nullptr ? "ok" : "error",
                   module != nullptr ? 0UL : GetLastError());
    } else if (std::strcmp(command, "waitpresent") == 0) {  // waitpresent LIBRARY
      if (!WaitPresentThrough(arg1)) std::fprintf(results, "timeout waitpresent %s\n", arg1);
    } else if (std::strcmp(command, "fileversion") == 0) {
      WriteFileVersion(results, arg1, arg2);
    } else if (std::strcmp(command, "waitini") == 0) {  // waitini SECTION KEY VALUE
      char path[MAX_PATH];
      GetFullPathNameA("artwheel.ini", sizeof path, path, nullptr);
      const char* wanted = line.count > 3 ? line.words[3] : "";
      char value[64];
      if (!WaitFor([&] {
            GetPrivateProfileStringA(arg1, arg2, "", value, sizeof value, path);
            return std::strcmp(value, wanted) == 0;
          })) {
        std::fprintf(results, "timeout waitini %s %s %s\n", arg1, arg2, wanted);
      }
    } else if (std::strcmp(command, "exit") == 0) {
      exitCode = static_cast<int>(Number(arg1));
      running = false;
    } else {
      std::fprintf(results, "error unknown command %s\n", command);
    }
    std::fflush(results);
  }
  std::fclose(script);
  return exitCode;
}

}  // namespace sim
