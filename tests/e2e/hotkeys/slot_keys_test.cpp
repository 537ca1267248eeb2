// The slots' keyboard keys ([Keys]) pressed on the desktop's one keyboard.
#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "../scenario.h"

namespace e2e {
namespace {

// The game without a controller: keys alone drive the slots. After each
// change of the keys the script waits until the worker's ticks have seen it
// (padseen: the worker polls the pad in every tick, connected or not).
Scenario RunKeys(const std::string& ini, const std::string& world, const std::string& script,
                 const std::string& gameBuild = "sekiro.exe") {
  Scenario s = StandardScenario();
  if (gameBuild != "sekiro.exe") s.InstallGame("sekiro.exe", gameBuild);
  s.Install("other_window.exe", "other_window.exe");
  s.WriteIni("[General]\nIsDebug=1\n" + ini);
  s.Play(world + "pad 0 off\nwaitlog [Core] Initialization OK\npadseen\n" + script);
  EXPECT_TRUE(s.ResultsStartingWith("error").empty()) << s.Read("results.txt");
  return s;
}

std::vector<std::string> LinesOf(const Scenario& s, const std::vector<std::string>& prefixes) {
  std::vector<std::string> lines;
  for (const std::string& message : s.LogMessages()) {
    for (const std::string& prefix : prefixes) {
      if (message.rfind(prefix, 0) == 0) lines.push_back(message);
    }
  }
  return lines;
}

std::vector<std::string> KeyAndSkillLines(const Scenario& s) {
  return LinesOf(s, {"[Input] Key ", "[Skill] "});
}

// The lines of one section of the file. Blanks around a key's '=' are left
// out: Wine's profile functions drop them whenever they rewrite the file.
std::string Section(const std::string& ini, const std::string& name) {
  const size_t start = ini.find("[" + name + "]");
  if (start == std::string::npos) return "";
  const size_t end = ini.find("\n[", start);
  std::istringstream lines(
      ini.substr(start, end == std::string::npos ? std::string::npos : end + 1 - start));
  std::string section;
  for (std::string line; std::getline(lines, line);) {
    const size_t equals = line.find('=');
    if (line[0] != ';' && equals != std::string::npos) {
      const size_t nameEnd = line.find_last_not_of(" \t", equals - 1);
      const size_t valueStart = line.find_first_not_of(" \t", equals + 1);
      line = line.substr(0, nameEnd == std::string::npos ? 0 : nameEnd + 1) + "=" +
             (valueStart == std::string::npos ? "" : line.substr(valueStart));
    }
    section += line + "\n";
  }
  return section;
}

TEST(SlotKeys, AKeyEquipsOncePerPressAndHoldingItDoesNotRepeat) {
  const Scenario s =
      RunKeys("[Slots]\nA=5100\nB=7300\n[Keys]\nA = shift + home\nB=q ; the prosthetic\nX=Q\n",
              "own 7300 73\nown 5100 51\nequipped 11\n",
              // Q held for half a second, Shift pressed and let go meanwhile, then Q
              // pressed again: the art is equipped by then.
              "key Q down\nwaitlog [Skill] Equip combat art id 7300\npadseen\nkey Shift down\n"
              "padseen\nkey Shift up\npadseen\nkey Q up\npadseen\n"
              "key Q down\nwaitlog [Skill] Combat art id 7300 is already equipped\n"
              "key Q up\n"
              // Home without its Shift is no key; with it, and a controller holding
              // D-pad Down, which the game goes on seeing.
              "key Home down\npadseen\nkey Home up\npad 0 0x0002\npadseen\n"
              "key Shift down\nkey Home down\nwaitlog [Skill] Equip combat art id 5100\n"
              "read while-down-is-held\nkey Home up\nkey Shift up\npadseen\n");
  EXPECT_EQ(KeyAndSkillLines(s),
            (std::vector<std::string>{
                "[Input] Key Q is bound to slot 2 (B) and slot 3 (X); slot 3 has no key",
                "[Input] Key Q pressed for slot 2 (B)",
                "[Skill] Hotkey DPadDown+B selected slot 2, combat art id 7300",
                "[Skill] Equip combat art id 7300 OK", "[Input] Key Q pressed for slot 2 (B)",
                "[Skill] Hotkey DPadDown+B selected slot 2, combat art id 7300",
                "[Skill] Combat art id 7300 is already equipped; skipped",
                "[Input] Key Shift+Home pressed for slot 1 (A)",
                "[Skill] Hotkey DPadDown+A selected slot 1, combat art id 5100",
                "[Skill] Equip combat art id 5100 OK"}))
      << s.Log();
  EXPECT_EQ(s.ResultsStartingWith("equip first"),
            (std::vector<std::string>{"equip first=1 mode=0 resolved=73 result=1",
                                      "equip first=1 mode=0 resolved=51 result=1"}));
  EXPECT_EQ(s.CountMessages("[Config] Keys: Y=- A=Shift+Home B=Q X=-"), 1);
  EXPECT_EQ(s.ResultsStartingWith("read while-down-is-held").at(0),
            "read while-down-is-held pad=0 rc=0 buttons=0x0002");
}

TEST(SlotKeys, AKeyInTheMenuAssignsAndSavesAndTheSectionStaysAsWritten) {
  const std::string keys =
      "[Keys]\r\n; Keyboard keys for the slots\r\nY=\r\nA=\r\nB = ctrl + 5 ; parry\r\nX=F3\r\n";
  const Scenario s = RunKeys("[Slots]\r\nX=0\r\n" + keys + "[Overlay]\r\nEnable=0\r\n",
                             "own 7300 73\nmenu selectedResolvedId 73\nmenu pauseMenu 2\n",
                             "waitlog [Menu] Skill assignment mode ON\n"
                             "key F3 down\nwaitlog [Skill] Assigned\nkey F3 up\npadseen\n");
  EXPECT_EQ(KeyAndSkillLines(s),
            (std::vector<std::string>{
                "[Input] Key F3 pressed for slot 3 (X)",
                "[Skill] Assigned combat art id 7300 (resolved 73) to slot 3 (DPadDown+X)"}))
      << s.Log();
  EXPECT_TRUE(s.ResultsStartingWith("equip first").empty());
  EXPECT_NE(Section(s.Ini(), "Slots").find("X=7300\r\n"), std::string::npos) << s.Ini();
  // Neither the start-up write-back nor the assignment's write touches [Keys].
  EXPECT_EQ(Section(s.Ini(), "Keys"), Section(keys, "Keys")) << s.Ini();
  EXPECT_NE(Section(s.Ini(), "Keys").find("\r\nB=ctrl + 5 ; parry\r\n"), std::string::npos);
}

TEST(SlotKeys, AKeyTypedWhileAnotherProgramIsInFrontDoesNothing) {
  const Scenario s =
      RunKeys("[Slots]\nY=7300\n[Keys]\nY=F2\n", "own 7300 73\n",
              "foreground other\nkey F2 down\npadseen\nkey F2 up\npadseen\n"
              // Held while the game comes back to the front: it was pressed elsewhere.
              "key F2 down\nforeground game\npadseen\nkey F2 up\npadseen\n"
              "key F2 down\nwaitlog [Skill] Equip combat art id 7300\nkey F2 up\n");
  EXPECT_EQ(s.ResultsStartingWith("foreground"),
            (std::vector<std::string>{"foreground other ok", "foreground game ok"}));
  EXPECT_EQ(LinesOf(s, {"[Input] Key "}),
            (std::vector<std::string>{"[Input] Key F2 pressed for slot 0 (Y)"}));
  EXPECT_EQ(s.ResultsStartingWith("equip first").size(), 1u);
}

// A game build whose addresses fail their checks: the key is read from the
// file, and pressing it does nothing in the ticks that see it down and up.
TEST(SlotKeys, AGameBuildWhoseAddressesFailTheChecksLeavesTheKeysAlone) {
  const Scenario s = RunKeys("[Slots]\nY=7300\n[Keys]\nY=F2\n", "own 7300 73\n",
                             "waitlog [Core] Game address check failed: GameEquipArt\n"
                             "key F2 down\npadseen\nkey F2 up\npadseen\n",
                             "sekiro_small_image.exe");
  EXPECT_EQ(s.CountMessages("[Config] Keys: Y=F2 A=- B=- X=-"), 1) << s.Log();
  EXPECT_EQ(KeyAndSkillLines(s), std::vector<std::string>{});
  EXPECT_TRUE(s.ResultsStartingWith("equip first").empty());
}

// That a slot without a key never acts is checked natively (unit.NextSlotKeyPress).
// A file without the UTF-8 mark is the system's code page: its 0xC4 is logged as UTF-8.
TEST(SlotKeys, AnUnknownNameIsLoggedAndItsSlotHasNoKey) {
  const Scenario s = RunKeys(
      "[Slots]\nY=7300\nA=7300\nX=7300\n[Keys]\nY=Shift+Ctrl+F1\nA=PgUp\nB=\xC4\nX=F4\n",
      "own 7300 73\n", "key F4 down\nwaitlog [Skill] Equip combat art id 7300\nkey F4 up\n");
  EXPECT_EQ(LinesOf(s, {"[Config] Unknown key name "}),
            (std::vector<std::string>{
                "[Config] Unknown key name \"Shift+Ctrl+F1\" in [Keys] Y; slot 0 has no key",
                "[Config] Unknown key name \"PgUp\" in [Keys] A; slot 1 has no key",
                "[Config] Unknown key name \"\xC3\x84\" in [Keys] B; slot 2 has no key"}));
  EXPECT_EQ(s.CountMessages("[Config] Keys: Y=- A=- B=- X=F4"), 1);
  EXPECT_EQ(LinesOf(s, {"[Input] Key "}),
            (std::vector<std::string>{"[Input] Key F4 pressed for slot 3 (X)"}));
}

TEST(SlotKeys, AKeyOfHudProbeDoesBothJobs) {
  const Scenario s =
      RunKeys("[Slots]\nB=7300\n[Keys]\nB=F6\n[HudProbe]\nEnable=1\n", "own 7300 73\nhud visible\n",
              "press F6\nwaitlog [Skill] Equip combat art id 7300\n");
  EXPECT_EQ(s.CountMessages("[HudProbe] HUD_VISIBLE hotkey pressed: F6"), 1);
  EXPECT_EQ(s.CountMessages("[Input] Key F6 pressed for slot 2 (B)"), 1);
  EXPECT_EQ(s.CountMessages("[Skill] Equip combat art id 7300 OK"), 1);
}

}  // namespace
}  // namespace e2e
