#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "scenario.h"

namespace e2e {
namespace {

// A pad change is held until the worker has acted on it (padseen).
constexpr char kReady[] = "pad 0 0\nwaitlog [Core] Initialization OK\npadseen\n";

// Which call each case makes is decided natively (unit.SlotDecisions); here
// the real DLL reaches the game's two functions, with the request the game
// reads, and logs each outcome: an empty slot, an art not owned, one already
// equipped, mode 0 failing and mode 1 equipping, and both modes failing. A
// press of another slot comes between two presses of B.
TEST(Equip, EachOutcomeReachesTheGameAndTheLog) {
  const Scenario s =
      Played("[General]\nIsDebug=1\n[Slots]\nY=0\nA=5100\nB=7300\nX=5300\n",
             std::string("own 7300 73\nown 5300 53\nequipped 53\nequipresult 0 0\n") + kReady +
                 "presspad 0x8002 is empty; skipped\n"
                 "presspad 0x1002 is not owned\n"
                 "presspad 0x4002 is already equipped\n"
                 "presspad 0x2002 [Skill] Equip combat art id 7300 OK\n"
                 "equipresult 1 0\nequipped 11\n"
                 "presspad 0x1002 is not owned\n"
                 "presspad 0x2002 [Skill] Equip combat art id 7300 FAILED\n");
  EXPECT_EQ(s.MessagesStartingWith("[Skill] "),
            (std::vector<std::string>{
                "[Skill] Hotkey DPadDown+Y selected slot 0, combat art id 0",
                "[Skill] Slot 0 (DPadDown+Y) is empty; skipped",
                "[Skill] Hotkey DPadDown+A selected slot 1, combat art id 5100",
                "[Skill] Combat art id 5100 is not owned or not available in this save; skipped",
                "[Skill] Hotkey DPadDown+X selected slot 3, combat art id 5300",
                "[Skill] Combat art id 5300 is already equipped; skipped",
                "[Skill] Hotkey DPadDown+B selected slot 2, combat art id 7300",
                "[Skill] Equip combat art id 7300 OK",
                "[Skill] Hotkey DPadDown+A selected slot 1, combat art id 5100",
                "[Skill] Combat art id 5100 is not owned or not available in this save; skipped",
                "[Skill] Hotkey DPadDown+B selected slot 2, combat art id 7300",
                "[Skill] Equip combat art id 7300 FAILED"}))
      << s.Log();
  EXPECT_EQ(s.ResultsStartingWith("equip first"),
            (std::vector<std::string>{"equip first=1 mode=0 resolved=73 result=0",
                                      "equip first=1 mode=1 resolved=73 result=1",
                                      "equip first=1 mode=0 resolved=73 result=0",
                                      "equip first=1 mode=1 resolved=73 result=0"}));
  EXPECT_EQ(s.ResultsStartingWith("equipped").at(0), "equipped resolved=11");
  // A: one resolution each; X: two; B: three each.
  EXPECT_EQ(s.ResultsStartingWith("resolve").at(0), "resolve calls=10 bad_argument=0");
  EXPECT_TRUE(s.ResultsStartingWith("timeout").empty()) << s.Read("results.txt");
}

TEST(Equip, SlotsWrittenToTheFileAreUsedAfterARestart) {
  Scenario s = StandardScenario();
  s.WriteIni("[General]\nIsDebug=1\n[Slots]\nX=6100\n");
  s.Play(std::string("own 6100 61\n") + kReady);
  s.Play(std::string("own 6100 61\n") + kReady + "pad 0 0x4002\npadseen\n");
  EXPECT_EQ(s.CountMessages("[Skill] Equip combat art id 6100 OK"), 1);
  EXPECT_NE(s.Ini().find("X=6100\r\n"), std::string::npos);
}

}  // namespace
}  // namespace e2e
