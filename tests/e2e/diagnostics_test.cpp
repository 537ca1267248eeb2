#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "scenario.h"

namespace e2e {
namespace {

// `setup` runs before the library's worker starts its passes.
Scenario RunDiagnostics(const std::string& ini, const std::string& script,
                        const std::string& setup = "") {
  return Played("[General]\nIsDebug=1\n" + ini,
                setup + "pad 0 0\nwaitlog [Core] Initialization OK\n" + script);
}

// ---- UIScan ------------------------------------------------------------------

constexpr char kUIScan[] = "[UIScan]\nEnable=1\nIntervalMs=50\n";
constexpr char kUIScanDetail[] = "[UIScan]\nEnable=1\nDetail=1\nIntervalMs=50\n";

std::string ChangedList(const std::string& line) {
  const size_t start = line.find("changed=") + 8;
  return line.substr(start, line.find('|') - start);
}

int Items(const std::string& list) {
  int items = 0;
  for (size_t at = list.find("+0x"); at != std::string::npos; at = list.find("+0x", at + 1))
    ++items;
  return items;
}

TEST(UIScan, TheFirstLineListsAllFieldsThenOnlyChangesAreLogged) {
  const Scenario s = RunDiagnostics(
      kUIScan, "menu pauseMenu 0\nwaitlog [UIWatch]\nmenu dialog 3\nwaitlogn 2 [UIWatch]\n");
  const auto lines = s.MessagesStartingWith("[UIWatch] ");
  ASSERT_EQ(lines.size(), 2u) << s.Log();
  EXPECT_EQ(Items(ChangedList(lines[0])), 21);
  EXPECT_NE(ChangedList(lines[0]).find("PGD+0x16C:0 "), std::string::npos);
  EXPECT_EQ(lines[0].size(), 511u);  // 21 items make the line longer than the log keeps
  EXPECT_EQ(ChangedList(lines[1]), "+0x044:0->3 ");
}

// Player data arriving late is compared with zeros.
TEST(UIScan, WithoutPlayerDataFourteenItemsAndSevenZerosUntilItArrives) {
  const Scenario s = RunDiagnostics(kUIScan, "waitlog [UIWatch]\nplayer 1\nwaitlogn 2 [UIWatch]\n",
                                    "player 0\nplayerwords 0x010 1 5\nplayerwords 0x16C 1 9\n");
  const auto lines = s.MessagesStartingWith("[UIWatch] ");
  ASSERT_EQ(lines.size(), 2u) << s.Log();
  EXPECT_EQ(Items(ChangedList(lines[0])), 14);
  const std::string zeros = "PGD(+010,0 +0DC,0 +144,0 +148,0 +154,0 +168,0 +16C,0)";
  EXPECT_EQ(lines[0].substr(lines[0].size() - zeros.size()), zeros);
  EXPECT_EQ(ChangedList(lines[1]), "PGD+0x010:0->5 PGD+0x16C:0->9 ");
}

TEST(UIScan, DetailLogsChangedWordsAndClipsAfter160) {
  const Scenario s = RunDiagnostics(kUIScanDetail,
                                    "waitlog [UIWatch]\n"  // the first pass has seen every word
                                    "objwords 1 0 128 7\nobjwords 2 0 32 7\n"  // 160 changes
                                    "waitlogn 128 [UIScan] MenuState+0x0F8-> +0x\n"
                                    "waitlogn 32 [UIScan] MenuState+0x100-> +0x\n"
                                    "objwords 1 0 128 8\nobjwords 2 0 33 8\n"  // 161 changes
                                    "waitlog [UIScanDetail] tick clipped after\n",
                                    "menuslot 0x0F8 object 1\nmenuslot 0x100 object 2\n");
  EXPECT_EQ(s.MessagesStartingWith("[UIScan] MenuState+0x0F8-> +0x").size() +
                s.MessagesStartingWith("[UIScan] MenuState+0x100-> +0x").size(),
            320u)
      << s.Log().substr(0, 2000);
  EXPECT_EQ(s.MessagesStartingWith("[UIScanDetail] tick clipped after "),
            std::vector<std::string>{"[UIScanDetail] tick clipped after 161 changes"});
  const auto first = s.MessagesStartingWith("[UIScan] MenuState+0x0F8-> +0x004 ");
  ASSERT_FALSE(first.empty());
  EXPECT_TRUE(MatchesWhole(
      first[0],
      R"(\[UIScan\] MenuState\+0x0F8-> \+0x004 @[0-9a-fA-F]{16} u32: \d+ \(0x[0-9A-F]{8}\) -> 7 \(0x00000007\))"))
      << first[0];
}

TEST(UIScan, AFullStateTableIsReportedOnce) {
  std::string slots;
  for (int offset = 0; offset <= 0x180; offset += 8) {
    if (offset != 8)
      slots +=
          "menuslot " + std::to_string(offset) + " object " + std::to_string(offset / 8) + "\n";
  }
  const Scenario s = RunDiagnostics(
      kUIScanDetail, slots + "waitlog [UIScan] state table is full; restart the game\n");
  EXPECT_EQ(
      s.CountMessages("[UIScan] state table is full; restart the game to reset scanner state"), 1);
}

}  // namespace
}  // namespace e2e
