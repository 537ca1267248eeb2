// The timeline's verbs of the game's input besides its pads: the keyboard of
// the shared desktop, the DirectInput interface and devices, and the script of
// the chained provider's devices.
#include <windows.h>

#include <cstring>

#include "desktop.h"
#include "devices.h"
#include "game_input.h"
#include "script_verbs.h"

namespace sim::script {
namespace {

void CreateDirectInputWithOut(const Line&, std::FILE* results) { CreateDirectInput(results, true); }

void CreateDirectInputWithNullOut(const Line&, std::FILE* results) {
  CreateDirectInput(results, false);
}

// key F6 down|up
void PressOrReleaseKey(const Line& line, std::FILE* results) {
  SendKey(results, Word(line, 1), std::strcmp(Word(line, 2), "up") != 0);
}

// foreground other|game
void BringWindowToFront(const Line& line, std::FILE* results) {
  BringToFront(results, Word(line, 1));
}

// press F6: held until HudProbe answers in the log (3 s at most), so a
// busy machine cannot make the library's 16 ms poll miss it.
void PressKeyUntilProbed(const Line& line, std::FILE* results) {
  const int before = CountInLog("[HudProbe] ");
  SendKey(results, Word(line, 1), true);
  PumpMessagesFor(50);
  const ULONGLONG deadline = GetTickCount64() + 3000;
  while (CountInLog("[HudProbe] ") == before && GetTickCount64() < deadline) PumpMessagesFor(10);
  SendKey(results, Word(line, 1), false);
}

// device NAME KIND
void CreateDeviceByName(const Line& line, std::FILE* results) {
  CreateNamedDevice(results, Word(line, 1), Word(line, 2));
}

// format NAME FORMAT
void SetDeviceFormat(const Line& line, std::FILE* results) {
  SetNamedDeviceFormat(results, Word(line, 1), Word(line, 2));
}

// acquire NAME [BUFFER]
void AcquireDevice(const Line& line, std::FILE* results) {
  AcquireNamedDevice(results, Word(line, 1), line.count > 2 ? Number(Word(line, 2)) : 16);
}

// getstate NAME SIZE [LABEL]
void ReadDeviceState(const Line& line, std::FILE* results) {
  ReadNamedDeviceState(results, Word(line, 1), Number(Word(line, 2)), Word(line, 3));
}

// getdata NAME COUNT [RECORDSIZE [LABEL]]
void ReadDeviceData(const Line& line, std::FILE* results) {
  ReadNamedDeviceData(results, Word(line, 1), Number(Word(line, 2)),
                      line.count > 3 ? Number(line.words[3]) : 24, Word(line, 4));
}

// devbyte OFFSET VALUE
void SetProviderByte(const Line& line, std::FILE*) {
  SetDeviceStateByte(Number(Word(line, 1)), static_cast<uint8_t>(Number(Word(line, 2))));
}

// devdword OFFSET VALUE
void SetProviderDword(const Line& line, std::FILE*) {
  SetDeviceStateDword(Number(Word(line, 1)), Number(Word(line, 2)));
}

// devfill OFFSET COUNT: COUNT bytes of 0x80 from OFFSET
void FillProviderBytes(const Line& line, std::FILE*) {
  for (uint32_t i = 0; i < Number(Word(line, 2)); ++i)
    SetDeviceStateByte(Number(Word(line, 1)) + i, 0x80);
}

void ClearProviderScript(const Line&, std::FILE*) { ClearDeviceScript(); }

// devevent OFFSET DATA
void QueueProviderEvent(const Line& line, std::FILE*) {
  QueueDeviceEvent(Number(Word(line, 1)), Number(Word(line, 2)));
}

// untildata NAME OFFSET DATA LABEL: the event queued again for every read
// until a read hands it to the game; how long that took.
void WaitForDeviceEventToPass(const Line& line, std::FILE* results) {
  const ULONGLONG start = GetTickCount64();
  const bool passed = WaitFor([&] {
    return QueueAndCountNamedDeviceData(Word(line, 1), Number(Word(line, 2)),
                                        Number(Word(line, 3))) > 0;
  });
  if (passed) {
    std::fprintf(results, "untildata %s ms=%llu\n", Word(line, 4), GetTickCount64() - start);
  } else {
    std::fprintf(results, "timeout untildata %s\n", Word(line, 4));
  }
}

constexpr Verb kVerbs[] = {
    // The desktop's keyboard and windows.
    {"key", PressOrReleaseKey},
    {"foreground", BringWindowToFront},
    {"press", PressKeyUntilProbed},
    // The game's DirectInput interface and devices.
    {"dinput", CreateDirectInputWithOut},
    {"dinputnull", CreateDirectInputWithNullOut},
    {"device", CreateDeviceByName},
    {"format", SetDeviceFormat},
    {"acquire", AcquireDevice},
    {"getstate", ReadDeviceState},
    {"getdata", ReadDeviceData},
    // What the chained provider's devices report.
    {"devbyte", SetProviderByte},
    {"devdword", SetProviderDword},
    {"devfill", FillProviderBytes},
    {"devclear", ClearProviderScript},
    {"devevent", QueueProviderEvent},
    {"untildata", WaitForDeviceEventToPass},
};

}  // namespace

std::span<const Verb> InputVerbs() { return kVerbs; }

}  // namespace sim::script
