#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "scenario.h"

namespace e2e {
namespace {

// A pad change is held until the worker has acted on it (padseen).
constexpr char kReady[] = "pad 0 0\nwaitlog [Core] Initialization OK\npadseen\n";

// Presses D-pad Down + B (slot 2) once in a game set up by `world`.
Scenario PressB(const std::string& slotB, const std::string& world) {
  return Played("[General]\nIsDebug=1\n[Slots]\nB=" + slotB + "\n",
                world + kReady + "pad 0 0x2002\npadseen\npad 0 0\npadseen\n");
}

TEST(Equip, EmptySlotIsSkipped) {
  const Scenario s = PressB("0", "own 5000 11\n");
  EXPECT_EQ(s.MessagesStartingWith("[Skill] "),
            (std::vector<std::string>{"[Skill] Hotkey DPadDown+B selected slot 2, combat art id 0",
                                      "[Skill] Slot 2 (DPadDown+B) is empty; skipped"}));
  EXPECT_TRUE(s.ResultsStartingWith("equip first").empty());
}

TEST(Equip, ArtNotOwnedIsSkipped) {
  // 65536 and above count as not owned, like 0.
  for (const char* world : {"own 5000 11\n", "own 7300 65536\n", "own 7300 11\nplayer 0\n",
                            "own 7300 11\nlookup 0\n"}) {
    const Scenario s = PressB("7300", world);
    EXPECT_EQ(s.MessagesStartingWith("[Skill] ").at(1),
              "[Skill] Combat art id 7300 is not owned or not available in this save; skipped")
        << world;
    EXPECT_TRUE(s.ResultsStartingWith("equip first").empty()) << world;
  }
}

TEST(Equip, ModeZeroSucceedingMakesOneCall) {
  const Scenario s = PressB("7300", "own 7300 73\nequipped 11\n");
  EXPECT_EQ(s.MessagesStartingWith("[Skill] ").back(), "[Skill] Equip combat art id 7300 OK");
  EXPECT_EQ(s.ResultsStartingWith("equip first"),
            (std::vector<std::string>{"equip first=1 mode=0 resolved=73 result=1"}));
  EXPECT_EQ(s.ResultsStartingWith("equipped").at(0), "equipped resolved=73");
  // Ownership, the already-equipped test and the request: three fresh resolutions.
  EXPECT_EQ(s.ResultsStartingWith("resolve").at(0), "resolve calls=3 bad_argument=0");
}

TEST(Equip, ModeZeroFailingIsRetriedOnceWithModeOne) {
  const Scenario s = PressB("7300", "own 7300 73\nequipresult 0 0\n");
  EXPECT_EQ(s.MessagesStartingWith("[Skill] ").back(), "[Skill] Equip combat art id 7300 OK");
  EXPECT_EQ(s.ResultsStartingWith("equip first"),
            (std::vector<std::string>{"equip first=1 mode=0 resolved=73 result=0",
                                      "equip first=1 mode=1 resolved=73 result=1"}));
}

TEST(Equip, BothModesFailingReportsFailed) {
  const Scenario s = PressB("7300", "own 7300 73\nequipresult 0 0\nequipresult 1 0\n");
  EXPECT_EQ(s.MessagesStartingWith("[Skill] ").back(), "[Skill] Equip combat art id 7300 FAILED");
  EXPECT_EQ(s.ResultsStartingWith("equip first").size(), 2u);
  EXPECT_EQ(s.ResultsStartingWith("equipped").at(0), "equipped resolved=0");
}

TEST(Equip, IdOutsideTheKnownListCanStillBeEquipped) {
  const Scenario s = PressB("5050", "own 5050 55\n");
  EXPECT_EQ(s.MessagesStartingWith("[Skill] ").back(), "[Skill] Equip combat art id 5050 OK");
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
