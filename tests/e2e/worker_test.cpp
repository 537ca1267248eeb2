#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "scenario.h"

namespace e2e {
namespace {

constexpr char kSlotsIni[] = "[General]\nIsDebug=1\n[Slots]\nY=5000\nA=5100\nB=5200\nX=5300\n";
// Each pad change is held until the worker has acted on it (padseen).
constexpr char kReady[] = "pad 0 0\nwaitlog [Core] Initialization OK\npadseen\n";

std::vector<std::string> Hotkeys(const Scenario& s) {
  std::vector<std::string> labels;
  for (const std::string& message : s.LogMessages()) {
    const std::string prefix = "[Skill] Hotkey ";
    if (message.rfind(prefix, 0) == 0) {
      labels.push_back(
          message.substr(prefix.size(), message.find(' ', prefix.size()) - prefix.size()));
    }
  }
  return labels;
}

Scenario RunPresses(const std::string& presses) { return Played(kSlotsIni, kReady + presses); }

// Which slot a set of buttons selects is decided natively (unit.DecodeCombination);
// here the worker acts on the pad's changes: once per press, again after the
// face button is released, at once for an added higher button, and again for
// a combination held across a failed poll (a reconnect).
TEST(Worker, FiresOncePerPressAndAgainOnEachChange) {
  const Scenario s = RunPresses(
      "pad 0 0x8002\npadseen\nwait 1000\n"  // held for a second: no second one
      "pad 0 0x0002\npadseen\n"             // Y released, Down still held
      "pad 0 0x8002\npadseen\n"             // Y again
      "pad 0 0\npadseen\npad 0 0x1002\npadseen\npad 0 0x9002\npadseen\n"
      "pad 0 0\npadseen\npad 0 0x2002\npadseen\npad 0 off\npadseen\npad 0 0x2002\npadseen\n");
  EXPECT_EQ(Hotkeys(s), (std::vector<std::string>{"DPadDown+Y", "DPadDown+Y", "DPadDown+A",
                                                  "DPadDown+Y", "DPadDown+B", "DPadDown+B"}));
}

TEST(Worker, AssignmentModeIsLoggedOnEachChangeAndTakesTheCombination) {
  const Scenario s = RunPresses(
      "menu pauseMenu 2\npadseen\npad 0 0x9002\npadseen\npad 0 0\npadseen\n"
      "menu pauseMenu 1\npadseen\nmenu pauseMenu 0\npadseen\n"
      "menu pauseMenu 2\npadseen\nmenupresent 0\npadseen\n");
  EXPECT_TRUE(Hotkeys(s).empty());  // no equip while the combat-art menu is open
  EXPECT_EQ(s.MessagesStartingWith("[Menu] "),
            (std::vector<std::string>{
                "[Menu] Skill assignment mode ON", "[Menu] Skill assignment mode OFF",
                "[Menu] Skill assignment mode ON", "[Menu] Skill assignment mode OFF"}));
}

TEST(Worker, UsesXInput13WhenXInput14IsMissing) {
  Scenario s;
  s.InstallProduct();
  s.InstallGame("sekiro.exe", "sekiro_xinput13.exe");
  s.InstallXInput("xinput1_3.dll");
  s.WriteIni(kSlotsIni);
  s.Play(std::string(kReady) + "pad 0 0x4002\nwaitlog [Skill] Hotkey\n");
  EXPECT_EQ(s.CountMessages("[Input] XInput initialized; known versions=1"), 1);
  EXPECT_EQ(Hotkeys(s), (std::vector<std::string>{"DPadDown+X"}));
}

TEST(Worker, CountsEveryXInputLibraryFound) {
  Scenario s = StandardScenario();
  for (const char* name : kAllXInputNames) s.InstallXInput(name);
  s.WriteIni(kSlotsIni);
  s.Play(std::string(kReady));
  EXPECT_EQ(s.CountMessages("[Input] XInput initialized; known versions=5"), 1);
  EXPECT_EQ(s.CountMessages("[Input] Could not load XInput"), 0);
}

}  // namespace
}  // namespace e2e
