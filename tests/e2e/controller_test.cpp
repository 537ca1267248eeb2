#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "scenario.h"

namespace e2e {
namespace {

// Which pads are followed, and when an empty index is asked again, is decided
// natively (unit.PadChoice); here the game reads its pads every frame as a
// game does, and the combinations act on the followed pads and are hidden
// from the game's reads of those pads alone.
constexpr char kOwned[] = "own 5000 50\nown 5100 51\nown 5200 52\nown 5300 53\n";
constexpr char kFollow[] = "[Input] Combinations follow ";

Scenario RunWithController(const std::string& controller, const std::string& script) {
  return Played(
      "[General]\nIsDebug=1\n[Slots]\nY=5000\nA=5100\nB=5200\nX=5300\n[Combination]\nController=" +
          controller + "\n",
      kOwned + script);
}

std::vector<std::string> Hotkeys(const Scenario& s) {
  std::vector<std::string> labels;
  for (const std::string& message : s.MessagesStartingWith("[Skill] Hotkey ")) {
    labels.push_back(message.substr(15, message.find(' ', 15) - 15));
  }
  return labels;
}

std::string Seen(const Scenario& s, const std::string& label) {
  const std::vector<std::string> lines = s.ResultsStartingWith("gameseen " + label + " ");
  return lines.empty() ? "missing" : lines[0].substr(10 + label.size());
}

// What the game's own reads saw on one pad: "0x0000", or "0x0000(none)" without a good read.
std::string SeenOn(const Scenario& s, const std::string& label, int pad) {
  const std::string all = " " + Seen(s, label) + " ";
  const std::string key = " " + std::to_string(pad) + ":";
  const size_t at = all.find(key);
  if (at == std::string::npos) return "missing";
  const size_t from = at + key.size();
  return all.substr(from, all.find(' ', from) - from);
}

// Player 3's pad, with player 1's pad beside it that the game reads too.
TEST(Controller, ANumberActsOnThatPadAloneAndLeavesTheOthersToTheGame) {
  const Scenario s = RunWithController(
      "3",
      "pad 0 0\npad 2 0\ngamepads 0,2\n"
      "waitlog [Input] Hooked 1 XInputGetState import(s)\npadseen 2\n"
      // Player 1's combination reaches the game as it is and stays held while
      // player 3's acts: every tick that acted on pad 3 came after it.
      "pad 0 0x1002\nuntilgameseen 0 0x1002\n"
      "presson 2 0x2002\npadseen 2\nequips end\ngameseen end\npad 0 0\n");
  EXPECT_EQ(s.ResultsStartingWith("equips end").at(0), "equips end calls=1 changes=1");
  EXPECT_EQ(Hotkeys(s), (std::vector<std::string>{"DPadDown+B"}));
  EXPECT_EQ(Seen(s, "end"), "0:0x1002 1:0x0000(none) 2:0x0000 3:0x0000(none)");
  EXPECT_EQ(s.CountMessages(
                "[Config] Combination Controller=3: the combinations follow player 3's pad alone"),
            1);
  EXPECT_EQ(s.CountMessages(kFollow), 0);
}

// The game reads every index; the pad sits at index 2 alone, then is
// undocked and comes back at index 0.
TEST(Controller, AutoFollowsThePadTheGameReadsWhereverItSits) {
  const Scenario s =
      RunWithController("Auto",
                        "pad 2 0\ngamepads 0,1,2,3\nwaitlog [Input] Combinations follow player 3\n"
                        "presson 2 0x8002\npadseen 2\ngameseen at2\n"
                        "pad 2 off\npad 0 0\nwaitlog [Input] Combinations follow player 1\n"
                        "presson 0 0x1002\npadseen 0\ngameseen at0\n");
  EXPECT_EQ(Hotkeys(s), (std::vector<std::string>{"DPadDown+Y", "DPadDown+A"}));
  EXPECT_EQ(Seen(s, "at2"), "0:0x0000(none) 1:0x0000(none) 2:0x0000 3:0x0000(none)");
  EXPECT_EQ(SeenOn(s, "at0", 0), "0x0000");
  const std::vector<std::string> follows = s.MessagesStartingWith(kFollow);
  ASSERT_GE(follows.size(), 2u) << s.Log();
  EXPECT_EQ(follows.front(), "[Input] Combinations follow player 3");
  EXPECT_EQ(follows.back(), "[Input] Combinations follow player 1");
  EXPECT_EQ(s.CountMessages("[Config] Combination Controller=Auto: the combinations follow the "
                            "pads the game reads"),
            1);
}

// Each pad has its own combination: while pad 1 holds D-pad Down + Y, pad 2's
// lone A reaches the game, and the same combination on pad 2 fires again.
TEST(Controller, AutoGivesEachPadTheGameReadsItsOwnCombination) {
  const Scenario s = RunWithController(
      "Auto",
      "pad 0 0\npad 1 0\ngamepads 0,1\nwaitlog [Input] Combinations follow players 1 and 2\n"
      "pad 0 0x8002\nwaitlog [Skill] Hotkey DPadDown+Y\n"
      "pad 1 0x1000\nuntilgameseen 1 0x1000\n"
      "pad 1 0x8002\nwaitlogn 2 [Skill] Hotkey DPadDown+Y\n"
      "pad 0 0\npad 1 0\npadseen 0\npadseen 1\ngameseen end\n");
  EXPECT_EQ(Hotkeys(s), (std::vector<std::string>{"DPadDown+Y", "DPadDown+Y"}));
  EXPECT_EQ(Seen(s, "end"), "0:0x0000 1:0x1000 2:0x0000(none) 3:0x0000(none)");
  EXPECT_EQ(s.MessagesStartingWith(kFollow),
            (std::vector<std::string>{"[Input] Combinations follow players 1 and 2"}));
}

// Nobody reads a pad: the worker finds the pad at index 3 itself and asks the
// empty indexes no more than once a second.
TEST(Controller, AutoFindsAPadItselfWhileTheGameReadsNone) {
  const Scenario s = RunWithController(
      "Auto",
      "pad 3 0\nwaitlog [Input] Combinations follow player 4\n"
      // The count of asks in a window of 2.1 s is what is asserted, not an event.
      "padreads 1 before\nwait 2100\npadreads 1 after\n"
      "presson 3 0x4002\npad 3 off\nwaitlog [Input] Combinations follow no pad\n");
  EXPECT_EQ(Hotkeys(s), (std::vector<std::string>{"DPadDown+X"}));
  const auto reads = [&](const std::string& label) {
    return std::stoi(s.ResultsStartingWith("padreads " + label).at(0).substr(10 + label.size()));
  };
  EXPECT_GE(reads("after") - reads("before"), 1);
  EXPECT_LE(reads("after") - reads("before"), 3);
  EXPECT_EQ(s.MessagesStartingWith(kFollow),
            (std::vector<std::string>{"[Input] Combinations follow player 4",
                                      "[Input] Combinations follow no pad"}));
}

}  // namespace
}  // namespace e2e
