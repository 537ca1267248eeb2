#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "scenario.h"

namespace e2e {
namespace {

constexpr char kSlotsIni[] = "[General]\nIsDebug=1\n[Slots]\nY=5000\nA=5100\nB=5200\nX=5300\n";
constexpr char kReady[] = "pad 0 0\nwaitlog [Core] Initialization OK\nwait 150\n";

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

Scenario RunPresses(const std::string& presses) {
  Scenario s = StandardScenario();
  s.WriteIni(kSlotsIni);
  s.WriteScript(std::string(kReady) + presses + "wait 150\nexit 0\n");
  EXPECT_EQ(s.Run(), 0);
  return s;
}

TEST(Worker, HigherFaceButtonWinsYBeforeABeforeBBeforeX) {
  const Scenario s = RunPresses(
      "pad 0 0x9002\nwait 150\npad 0 0\nwait 150\n"    // Down + Y + A
      "pad 0 0x7002\nwait 150\npad 0 0\nwait 150\n"    // Down + A + B + X
      "pad 0 0x6002\nwait 150\npad 0 0\nwait 150\n"    // Down + B + X
      "pad 0 0x4002\nwait 150\npad 0 0\nwait 150\n");  // Down + X
  EXPECT_EQ(Hotkeys(s),
            (std::vector<std::string>{"DPadDown+Y", "DPadDown+A", "DPadDown+B", "DPadDown+X"}));
}

TEST(Worker, FiresOncePerPressAndAgainAfterTheFaceButtonIsReleased) {
  const Scenario s = RunPresses(
      "pad 0 0x8002\nwait 1000\n"   // held for a second: once
      "pad 0 0x0002\nwait 150\n"    // Y released, Down still held
      "pad 0 0x8002\nwait 150\n");  // Y again
  EXPECT_EQ(Hotkeys(s), (std::vector<std::string>{"DPadDown+Y", "DPadDown+Y"}));
}

TEST(Worker, AddingAHigherButtonFiresItsSlotAtOnce) {
  const Scenario s = RunPresses("pad 0 0x1002\nwait 150\npad 0 0x9002\nwait 150\n");
  EXPECT_EQ(Hotkeys(s), (std::vector<std::string>{"DPadDown+A", "DPadDown+Y"}));
}

TEST(Worker, FaceButtonsWithoutDpadDownDoNothing) {
  const Scenario s = RunPresses("pad 0 0xF000\nwait 200\npad 0 0xF001\nwait 200\n");
  EXPECT_TRUE(Hotkeys(s).empty());
}

TEST(Worker, AFailedPollResetsSoAComboHeldAcrossAReconnectFiresAgain) {
  const Scenario s =
      RunPresses("pad 0 0x2002\nwait 150\npad 0 off\nwait 150\npad 0 0x2002\nwait 150\n");
  EXPECT_EQ(Hotkeys(s), (std::vector<std::string>{"DPadDown+B", "DPadDown+B"}));
}

TEST(Worker, AssignmentModeIsLoggedOnEachChangeAndTakesTheCombination) {
  const Scenario s = RunPresses(
      "menu pauseMenu 2\nwait 150\npad 0 0x9002\nwait 150\npad 0 0\nwait 150\n"
      "menu pauseMenu 1\nwait 150\nmenu pauseMenu 0\nwait 150\n"
      "menu pauseMenu 2\nwait 150\nmenupresent 0\nwait 150\n");
  EXPECT_TRUE(Hotkeys(s).empty());  // no equip while the combat-art menu is open
  std::vector<std::string> modes;
  for (const std::string& message : s.LogMessages()) {
    if (message.rfind("[Menu] ", 0) == 0) modes.push_back(message);
  }
  EXPECT_EQ(modes, (std::vector<std::string>{
                       "[Menu] Skill assignment mode ON", "[Menu] Skill assignment mode OFF",
                       "[Menu] Skill assignment mode ON", "[Menu] Skill assignment mode OFF"}));
}

TEST(Worker, UsesXInput13WhenXInput14IsMissing) {
  Scenario s;
  s.InstallProduct();
  s.InstallGame("sekiro.exe", "sekiro_xinput13.exe");
  s.InstallXInput("xinput1_3.dll");
  s.WriteIni(kSlotsIni);
  s.WriteScript(std::string(kReady) + "pad 0 0x4002\nwait 150\nexit 0\n");
  ASSERT_EQ(s.Run(), 0);
  EXPECT_EQ(s.CountMessages("[Input] XInput initialized; known versions=1"), 1);
  EXPECT_EQ(Hotkeys(s), (std::vector<std::string>{"DPadDown+X"}));
}

TEST(Worker, CountsEveryXInputLibraryFound) {
  Scenario s = StandardScenario();
  for (const char* name : kAllXInputNames) s.InstallXInput(name);
  s.WriteIni(kSlotsIni);
  s.WriteScript(std::string(kReady) + "exit 0\n");
  ASSERT_EQ(s.Run(), 0);
  EXPECT_EQ(s.CountMessages("[Input] XInput initialized; known versions=5"), 1);
  EXPECT_EQ(s.CountMessages("[Input] Could not load XInput"), 0);
}

}  // namespace
}  // namespace e2e
