// The timeline's verbs of the game itself: its pads, its menu, player and art
// objects, its equip calls and what HudProbe and UIScan look at.
#include <windows.h>
#include <xinput.h>

#include <cstring>

#include "game_pads.h"
#include "game_world.h"
#include "hud_world.h"
#include "pads.h"
#include "script_verbs.h"

extern "C" SimPadState SimPadTable[kSimPadCount];

namespace sim::script {
namespace {

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

void ReadPad(std::FILE* results, DWORD index, const char* label) {
  XINPUT_STATE state = {};
  const DWORD rc = XInputGetState(index, &state);
  std::fprintf(results, "read %s pad=%lu rc=%lu buttons=0x%04X\n", label, index, rc,
               state.Gamepad.wButtons);
}

// pad INDEX 0xBUTTONS|off
void SetPadButtons(const Line& line, std::FILE*) {
  SetPad(static_cast<int>(Number(Word(line, 1))), Word(line, 2));
}

// presspad 0xBUTTONS equip|TEXT: pad 0 holds the buttons until the game's
// equip function was called again, or until the log holds TEXT once more.
void PressPadUntilAnswered(const Line& line, std::FILE* results) {
  const char* buttons = Word(line, 1);
  const char* answer = AfterFirstArgument(line);
  const bool equip = std::strcmp(answer, "equip") == 0;
  const int before = equip ? EquipCallCount() : CountInLog(answer);
  SetPad(0, buttons);
  if (!WaitFor([&] { return (equip ? EquipCallCount() : CountInLog(answer)) > before; })) {
    std::fprintf(results, "timeout presspad %s %s\n", buttons, answer);
  }
  SetPad(0, "0");
}

// presson INDEX 0xBUTTONS: that pad holds the buttons until the game's equip
// function was called again.
void PressPadAtUntilEquipped(const Line& line, std::FILE* results) {
  const int index = static_cast<int>(Number(Word(line, 1)));
  const int before = EquipCallCount();
  SetPad(index, Word(line, 2));
  if (!WaitFor([&] { return EquipCallCount() > before; })) {
    std::fprintf(results, "timeout presson %d %s\n", index, Word(line, 2));
  }
  SetPad(index, "0");
}

// padseen [INDEX]: waits until something other than the timeline (the
// worker's poll, once a tick) read the pad (0 unless named) three times since
// now: the second read began after the pad's last change, the third after the
// tick of the second had done what it does with it.
void WaitUntilPadSeen(const Line& line, std::FILE* results) {
  const uint32_t index = line.count > 1 ? Number(Word(line, 1)) : 0;
  if (index >= kSimPadCount) return;
  const LONG before = SimPadTable[index].reads;
  if (!WaitFor([&] { return SimPadTable[index].reads - before >= 3; })) {
    std::fprintf(results, "timeout padseen %u\n", index);
  }
}

// padreads INDEX LABEL: how often anyone asked for the pad so far
void WritePadReads(const Line& line, std::FILE* results) {
  const uint32_t index = Number(Word(line, 1));
  if (index >= kSimPadCount) return;
  std::fprintf(results, "padreads %s %ld\n", Word(line, 2), SimPadTable[index].reads);
}

// gamepads 0,2|none: the indexes the game itself reads every frame
void PollGamePads(const Line& line, std::FILE*) {
  uint32_t indexes = 0;
  for (const char* c = Word(line, 1); *c != '\0'; ++c) {
    if (*c >= '0' && *c < '0' + kSimPadCount) indexes |= 1u << (*c - '0');
  }
  PollPadsEveryFrame(indexes);
}

// gameseen LABEL: per index, the buttons the game's own poll saw since the
// last gameseen, OR-ed together, and its good reads; then forgotten
void WriteSeenByGame(const Line& line, std::FILE* results) {
  std::fprintf(results, "gameseen %s", Word(line, 1));
  for (int i = 0; i < kSimPadCount; ++i) {
    const PadSeen seen = SeenByGame(i);
    std::fprintf(results, " %d:0x%04X%s", i, seen.buttons, seen.goodReads > 0 ? "" : "(none)");
  }
  std::fprintf(results, "\n");
  ForgetSeenByGame();
}

// untilgameseen INDEX 0xBUTTONS: the game's own poll saw all those buttons there
void WaitUntilSeenByGame(const Line& line, std::FILE* results) {
  const int index = static_cast<int>(Number(Word(line, 1)));
  const uint32_t wanted = Number(Word(line, 2));
  if (index < 0 || index >= kSimPadCount) return;
  if (!WaitFor([&] { return (SeenByGame(index).buttons & wanted) == wanted; })) {
    std::fprintf(results, "timeout untilgameseen %d %s\n", index, Word(line, 2));
  }
}

// untilread 0xBUTTONS LABEL: the game reads pad 0 until it sees those
// buttons (a guard's time run out); the last read is written as "read LABEL".
void ReadPadUntilSeen(const Line& line, std::FILE* results) {
  const WORD wanted = static_cast<WORD>(Number(Word(line, 1)));
  XINPUT_STATE state = {};
  DWORD rc = ERROR_SUCCESS;
  const bool seen = WaitFor([&] {
    state = {};
    rc = XInputGetState(0, &state);
    return rc == ERROR_SUCCESS && state.Gamepad.wButtons == wanted;
  });
  if (!seen) std::fprintf(results, "timeout untilread %s %s\n", Word(line, 1), Word(line, 2));
  std::fprintf(results, "read %s pad=0 rc=%lu buttons=0x%04X\n", Word(line, 2), rc,
               state.Gamepad.wButtons);
}

// read LABEL: pad 0 as the game reads it
void ReadFirstPad(const Line& line, std::FILE* results) { ReadPad(results, 0, Word(line, 1)); }

// readpad INDEX LABEL
void ReadPadByIndex(const Line& line, std::FILE* results) {
  ReadPad(results, Number(Word(line, 1)), Word(line, 2));
}

// waitequips COUNT
void WaitForEquips(const Line& line, std::FILE* results) {
  const int wanted = static_cast<int>(Number(Word(line, 1)));
  if (!WaitFor([&] { return EquipCallCount() >= wanted; })) {
    std::fprintf(results, "timeout waitequips %d\n", wanted);
  }
}

void WriteEquips(const Line& line, std::FILE* results) { ReportEquips(results, Word(line, 1)); }

// menu FIELD VALUE
void SetMenuFieldValue(const Line& line, std::FILE* results) {
  if (!SetMenuField(Word(line, 1), Number(Word(line, 2))))
    std::fprintf(results, "error unknown field %s\n", Word(line, 1));
}

void PlaceMenuState(const Line& line, std::FILE*) { SetMenuPresent(Number(Word(line, 1)) != 0); }

void PlacePlayer(const Line& line, std::FILE*) { SetPlayerPresent(Number(Word(line, 1)) != 0); }

void PlaceArtLookup(const Line& line, std::FILE*) {
  SetArtLookupPresent(Number(Word(line, 1)) != 0);
}

void SetEquippedArt(const Line& line, std::FILE*) { SetEquippedResolvedId(Number(Word(line, 1))); }

// own ART RESOLVED
void OwnArt(const Line& line, std::FILE*) {
  SetOwnedArt(Number(Word(line, 1)), Number(Word(line, 2)));
}

// equipresult MODE RESULT
void SetEquipResultOfMode(const Line& line, std::FILE*) {
  SetEquipResult(static_cast<int>(Number(Word(line, 1))),
                 static_cast<int32_t>(Number(Word(line, 2))));
}

// hud visible|hidden
void ShowOrHideHud(const Line& line, std::FILE*) {
  SetHudVisible(std::strcmp(Word(line, 1), "visible") == 0);
}

// globalslots LISTED POINTED
void FillGlobalSlots(const Line& line, std::FILE* results) {
  SetGlobalSlots(results, Number(Word(line, 1)), Number(Word(line, 2)));
}

// menuslot OFFSET object|null|noaccess [N]
void PointMenuSlot(const Line& line, std::FILE*) {
  SetMenuSlot(Number(Word(line, 1)), Word(line, 2), line.count > 3 ? Number(line.words[3]) : 0);
}

// objaddr OBJECT
void WriteObjectAddressOf(const Line& line, std::FILE* results) {
  WriteObjectAddress(results, Number(Word(line, 1)));
}

// objwords OBJECT OFFSET COUNT VALUE
void FillObjectWords(const Line& line, std::FILE*) {
  SetObjectWords(Number(Word(line, 1)), Number(Word(line, 2)), Number(Word(line, 3)),
                 Number(Word(line, 4)));
}

// menuwords OFFSET COUNT VALUE
void FillMenuWords(const Line& line, std::FILE*) {
  SetMenuWords(Number(Word(line, 1)), Number(Word(line, 2)), Number(Word(line, 3)));
}

// playerwords OFFSET COUNT VALUE
void FillPlayerWords(const Line& line, std::FILE*) {
  SetPlayerWords(Number(Word(line, 1)), Number(Word(line, 2)), Number(Word(line, 3)));
}

constexpr Verb kVerbs[] = {
    {"pad", SetPadButtons},
    {"presspad", PressPadUntilAnswered},
    {"presson", PressPadAtUntilEquipped},
    {"padseen", WaitUntilPadSeen},
    {"padreads", WritePadReads},
    {"gamepads", PollGamePads},
    {"gameseen", WriteSeenByGame},
    {"untilgameseen", WaitUntilSeenByGame},
    {"read", ReadFirstPad},
    {"untilread", ReadPadUntilSeen},
    {"readpad", ReadPadByIndex},
    {"waitequips", WaitForEquips},
    {"equips", WriteEquips},
    {"menu", SetMenuFieldValue},
    {"menupresent", PlaceMenuState},
    {"player", PlacePlayer},
    {"lookup", PlaceArtLookup},
    {"equipped", SetEquippedArt},
    {"own", OwnArt},
    {"equipresult", SetEquipResultOfMode},
    {"hud", ShowOrHideHud},
    {"globalslots", FillGlobalSlots},
    {"menuslot", PointMenuSlot},
    {"objaddr", WriteObjectAddressOf},
    {"objwords", FillObjectWords},
    {"menuwords", FillMenuWords},
    {"playerwords", FillPlayerWords},
};

}  // namespace

std::span<const Verb> GameVerbs() { return kVerbs; }

}  // namespace sim::script
