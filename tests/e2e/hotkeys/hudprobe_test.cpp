#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "../scenario.h"

namespace e2e {
namespace {

Scenario RunDiagnostics(const std::string& ini, const std::string& script) {
  // Keys are pressed once the worker runs its ticks (its first one discovers XInput).
  return Played("[General]\nIsDebug=1\n" + ini,
                "pad 0 0\nwaitlog [Input] XInput initialized\n" + script);
}

// ---- HudProbe -----------------------------------------------------------------

constexpr char kProbe[] = "[HudProbe]\nEnable=1\n";

std::string Summary(const Scenario& s) {
  const auto lines = s.MessagesStartingWith("[HudProbe] Comparison complete: ");
  return lines.empty() ? "none" : lines.back().substr(32);
}

TEST(HudProbe, AHeldKeyActsOnceAndTwoKeysActInOrder) {
  const Scenario s = RunDiagnostics(
      kProbe,
      // Held keys act no more within 500 and 300 ms; padseen: the worker's
      // ticks have seen a release.
      "hud visible\nkey F6 down\nwaitlogn 1 HUD_VISIBLE hotkey pressed\nwait 500\nkey F6 up\n"
      "padseen\n"
      "key F6 down\nkey F7 down\nwaitlogn 3 HUD_VISIBLE hotkey pressed\nwait 300\nkey F6 up\n"
      "key F7 up\npadseen\n");
  EXPECT_EQ(s.MessagesStartingWith("[HudProbe] HUD_VISIBLE hotkey pressed: "),
            (std::vector<std::string>{"[HudProbe] HUD_VISIBLE hotkey pressed: F6",
                                      "[HudProbe] HUD_VISIBLE hotkey pressed: F6",
                                      "[HudProbe] HUD_VISIBLE hotkey pressed: F7"}));
}

// A game folder whose configuration path the system takes but whose dump and
// image paths it does not: one line each names the folder and the limit,
// however many snapshots or frames.
TEST(HudProbe, DumpAndImagePathsLongerThanWindowsAllowsAreLoggedOnceNamingTheFolder) {
  Scenario s;
  // artwheel.ini's path is 257 bytes, the dump's 265, bg.png's 261.
  const std::string sub = s.InstallDeep(245);
  s.WriteFile(sub + "/artwheel.ini",
              "[General]\nIsDebug=1\n[Slots]\nB=7300\n[Overlay]\nEnable=1\n"
              "[SkillPanel]\nEnable=1\n" +
                  std::string(kProbe));
  s.Play(
      "own 7300 73\nequipped 73\nmenu activeOrHud 1\nmenu loadingOrUi 1\nmenu postLoad 1\n"
      "window 1920 1080\npad 0 0\nwaitlog [Input] XInput initialized\nhud visible\npress F6\n"
      "waitlog [HudProbe] Stable HUD_VISIBLE\npress F7\nwaitlogn 2 [HudProbe] Stable HUD_VISIBLE\n"
      "waitlog [Overlay] Image paths in\nframes 30\n",
      sub + "/sekiro.exe");
  const std::string folder = s.WindowsDir() + "\\" + sub + "\\";
  EXPECT_EQ(s.CountMessages("[HudProbe] Dump paths in " + folder +
                            " are longer than the 259 characters Windows allows; no dumps"),
            1)
      << s.Log();
  EXPECT_EQ(s.CountMessages("[HudProbe] Could not open dump file"), 0);
  EXPECT_EQ(
      s.CountMessages("[Overlay] Image paths in " + folder +
                      "resources are longer than the 259 characters Windows allows; no panel"),
      1);
}

TEST(HudProbe, HiddenAloneComparesNothing) {
  const Scenario s =
      RunDiagnostics(kProbe, "hud hidden\npress F9\nwaitlog [HudProbe] Stable HUD_HIDDEN\n");
  EXPECT_EQ(s.CountMessages("[HudProbe] Stable comparison"), 0);
  EXPECT_EQ(s.CountMessages("[HudProbe] HUD_VISIBLE hotkey pressed"), 0);
}

// Which class a pair of values falls into is decided natively
// (unit.SampleClasses); here each class reaches the log, and the strong lines
// stop at 80.
TEST(HudProbe, PairsAreLoggedByClassAndStrongOnesStopAt80) {
  const Scenario s = RunDiagnostics(
      kProbe,
      "hud visible\nmenuwords 0x210 1 0x3F800000\nmenuwords 0x214 1 5\nmenuwords 0x300 100 1\n"
      "press F6\nwaitlog [HudProbe] Stable HUD_VISIBLE\n"
      "hud hidden\nmenuwords 0x210 1 0\nmenuwords 0x214 1 3\nmenuwords 0x300 100 0\n"
      "press F9\nwaitlog [HudProbe] Comparison complete\n");
  const auto strong = s.MessagesStartingWith("[HudProbe] STRONG ");
  ASSERT_EQ(strong.size(), 80u) << s.Log();
  EXPECT_TRUE(MatchesWhole(
      strong[0], R"(\[HudProbe\] STRONG MenuState\+0x064 @[0-9a-fA-F]{16} visible=1 hidden=0)"));
  EXPECT_EQ(s.CountMessages("[HudProbe] STRONG MenuState+0x300 "), 1);
  EXPECT_EQ(Summary(s).substr(0, 10), "strong=80 ");
  EXPECT_EQ(s.CountMessages("[HudProbe] Stable comparison: visibleSnapshots=1 hiddenSnapshots=1; "
                            "prefer visible=1 hidden=0"),
            1);
  EXPECT_EQ(s.CountMessages("[HudProbe] FLOAT_STRONG MenuState+0x210 "), 1);
  EXPECT_EQ(s.CountMessages("[HudProbe] CANDIDATE MenuState+0x210 "), 1);
  EXPECT_EQ(s.CountMessages("[HudProbe] CANDIDATE MenuState+0x214 "), 1);
  EXPECT_EQ(s.CountMessages("[HudProbe] STRONG MenuState+0x214 "), 0);
}

// Words and pointer slots are narrowed over the visible snapshots: a word
// that changes between them drops out, a pointer keeps its newest value.
TEST(HudProbe, AWordThatChangesDropsOutAndAPointerKeepsItsNewestValue) {
  const Scenario s = RunDiagnostics(
      kProbe,
      "objaddr 3\nmenuslot 0x0F8 object 1\nhud visible\nmenuwords 0x200 1 1\n"
      "menuwords 0x204 1 1\npress F6\nwaitlog [HudProbe] Stable HUD_VISIBLE\n"
      "menuwords 0x200 1 2\nmenuslot 0x0F8 object 3\npress F7\n"
      "waitlogn 2 [HudProbe] Stable HUD_VISIBLE\n"
      "hud hidden\nmenuwords 0x200 1 0\nmenuwords 0x204 1 0\nmenuslot 0x0F8 null\npress F9\n"
      "waitlog [HudProbe] Comparison complete\n");
  EXPECT_EQ(s.CountMessages("[HudProbe] STRONG MenuState+0x204 "), 1) << s.Log();
  EXPECT_EQ(s.CountMessages("[HudProbe] STRONG MenuState+0x200 "), 0);
  EXPECT_EQ(s.CountMessages("[HudProbe] CANDIDATE MenuState+0x200 "), 0);
  const std::string address = s.ResultsStartingWith("object 3 ").at(0).substr(9);
  EXPECT_EQ(s.CountMessages("[HudProbe] POINTER_STRONG MenuState+0x0F8 visible=" + address +
                            " readable=1 hidden=0000000000000000 readable=0"),
            1)
      << address << "\n"
      << s.Log();
}

TEST(HudProbe, GlobalFieldsAndPointersOfTheImagesDataAreCompared) {
  const Scenario s = RunDiagnostics(
      std::string(kProbe) + "GlobalFields=1\n",
      "globalslots 40 3\nhud visible\npress F6\nwaitlog [HudProbe] Stable HUD_VISIBLE\n"
      "hud hidden\npress F9\nwaitlog [HudProbe] Comparison complete\n");
  // Three data-slot objects and the .rdata slot's object: word 1 is 1/0, word
  // 2 is 1.0/0.0. (The simulator's own .data also points at the menu-state
  // object, whose +0x064 follows the HUD: one more GLOBAL_STRONG.)
  int strongWord1 = 0;
  for (const std::string& line : s.MessagesStartingWith("[HudProbe] GLOBAL_STRONG ")) {
    if (line.find(" obj+0x004 visible=1 hidden=0") != std::string::npos) ++strongWord1;
  }
  EXPECT_EQ(strongWord1, 4) << s.Log();
  EXPECT_EQ(s.MessagesStartingWith("[HudProbe] GLOBAL_FLOAT_STRONG ").size(), 4u);
  EXPECT_NE(Summary(s).find("globalFloat=4 globalPointer=0"), std::string::npos) << Summary(s);
}

// The stable global fields follow the snapshot counter after the samples: a
// snapshot without samples behind one with samples replaces them instead of
// narrowing them; the next one with samples narrows again.
TEST(HudProbe, ASnapshotWithoutSamplesReplacesTheStableGlobalFields) {
  const Scenario s = RunDiagnostics(
      std::string(kProbe) + "GlobalFields=1\n",
      "globalslots 10 2\nhud visible\npress F6\nwaitlogn 1 [HudProbe] Stable HUD_VISIBLE\n"
      "hud hidden\nmenupresent 0\nplayer 0\npress F7\nwaitlogn 2 [HudProbe] Stable HUD_VISIBLE\n"
      "hud visible\nmenupresent 1\nplayer 1\npress F8\nwaitlogn 3 [HudProbe] Stable HUD_VISIBLE\n");
  const auto stable = s.MessagesStartingWith("[HudProbe] Stable HUD_VISIBLE samples: ");
  ASSERT_EQ(stable.size(), 3u) << s.Log();
  auto fields = [](const std::string& line) {
    return std::stoi(line.substr(line.find("globalFields: ") + 14));
  };
  auto samples = [](const std::string& line) {
    return std::stoi(line.substr(line.find("samples: ") + 9));
  };
  EXPECT_EQ(s.CountMessages("[HudProbe] Captured HUD_VISIBLE snapshot with 0 samples"), 1);
  EXPECT_EQ(fields(stable[1]),
            fields(stable[0]));  // replaced: nothing dropped although words changed
  EXPECT_EQ(samples(stable[1]), samples(stable[0]));
  EXPECT_LT(fields(stable[2]), fields(stable[1]));  // narrowed: the words that changed back dropped
}

// After the reset the hidden dump stays empty and the visible one holds the
// one snapshot taken since.
TEST(HudProbe, ResetEmptiesBothDumpFilesAndStartsAfresh) {
  const Scenario s = RunDiagnostics(
      kProbe,
      "press F6\nwaitlog [HudProbe] Stable HUD_VISIBLE\npress F9\n"
      "waitlog [HudProbe] Comparison complete\npress F10\nwaitlog [HudProbe] Snapshots reset\n"
      "press F6\nwaitlogn 2 [HudProbe] Stable HUD_VISIBLE\n");
  EXPECT_TRUE(s.Exists("hud_hidden_dump.txt"));
  EXPECT_EQ(s.Read("hud_hidden_dump.txt"), "");
  const std::string dump = s.Read("hud_visible_dump.txt");
  EXPECT_EQ(dump.rfind(std::string(60, '=') + "\r\n[Snapshot] HUD_VISIBLE tick=", 0), 0u);
  EXPECT_EQ(dump.find("[Snapshot]", 70), std::string::npos);  // one dump only
  EXPECT_EQ(s.CountMessages("[HudProbe] Stable HUD_VISIBLE samples: "), 2);
}

int IndexOf(const std::vector<std::string>& lines, const std::string& prefix) {
  for (size_t i = 0; i < lines.size(); ++i) {
    if (lines[i].rfind(prefix, 0) == 0) return static_cast<int>(i);
  }
  return -1;
}

// The visible snapshot's dump with the limit of its global section.
std::vector<std::string> DumpWithLimit(const std::string& limit) {
  return SplitLines(
      RunDiagnostics(
          std::string(kProbe) + "DumpGlobalPointers=1\nDumpGlobalPointerLimit=" + limit + "\n",
          "menuslot 0x008 object 5\nmenuslot 0x0F8 object 1\npress F6\n"
          "waitlog [HudProbe] Stable HUD_VISIBLE\n")
          .Read("hud_visible_dump.txt"));
}

TEST(HudProbeDump, BlocksComeInOrderSlot8IsNeverExpandedAndTheLimitClipsTheGlobals) {
  const auto lines = DumpWithLimit("100000");
  ASSERT_GT(lines.size(), 10u);
  EXPECT_EQ(lines[0], std::string(60, '='));
  EXPECT_TRUE(MatchesWhole(lines[1], R"(\[Snapshot\] HUD_VISIBLE tick=\d+ base=[0-9a-fA-F]{16})"));
  EXPECT_EQ(lines[2].rfind("[Pointer] MenuStateManager=", 0), 0u);
  EXPECT_NE(lines[2].find(" RVA=0x3D67408"), std::string::npos);
  EXPECT_EQ(lines[3].rfind("[Range] MenuState base=", 0), 0u);
  EXPECT_EQ(lines[4], "MenuState+0x000 u32=0 hex=0x00000000");
  const int pointers = IndexOf(lines, "[MenuStatePointers]");
  const int slot8 = IndexOf(lines, "MenuState+0x008 ptr=");
  const int slotF8 = IndexOf(lines, "MenuState+0x0F8 ptr=");
  const int rangeF8 = IndexOf(lines, "[Range] MenuState+0x0F8-> base=");
  const int player = IndexOf(lines, "[Pointer] GameDataManager=");
  const int globals = IndexOf(lines, "[GlobalPointers] limit=100000");
  EXPECT_LT(4, pointers);
  EXPECT_LT(pointers, slot8);
  EXPECT_NE(lines[slot8].find(" readable=1"), std::string::npos);
  EXPECT_EQ(IndexOf(lines, "[Range] MenuState+0x008->"), -1);
  EXPECT_EQ(rangeF8, slotF8 + 1);
  EXPECT_EQ(lines[rangeF8 + 1].rfind("MenuState+0x0F8->+0x000 u32=", 0), 0u);
  EXPECT_LT(rangeF8, player);
  EXPECT_EQ(lines[player + 1].rfind("[Range] PlayerGameData base=", 0), 0u);
  EXPECT_LT(player, globals);
  // The .rdata integers: 0 and 0x10001 are listed as unreadable; 0xFFF8, a
  // small unreadable value, is not listed.
  EXPECT_NE(IndexOf(lines, ".rdata RVA="), -1);
  int listed10001 = 0;
  for (const std::string& line : lines) {
    EXPECT_EQ(line.find("value=000000000000fff8 "), std::string::npos) << line;
    if (line.find("value=0000000000010001 readable=0") != std::string::npos) ++listed10001;
  }
  EXPECT_GE(listed10001, 1);
  ASSERT_EQ(lines.back().rfind("[GlobalPointers] entries=", 0), 0u);

  // A limit below the count clips the section; one equal to it lets it end so.
  const std::string count = lines.back().substr(25);
  const auto one = DumpWithLimit("1");
  const int limitLine = IndexOf(one, "[GlobalPointers] limit=1");
  ASSERT_NE(limitLine, -1);
  EXPECT_EQ(one[limitLine + 1].rfind(".", 0), 0u);  // one entry line
  EXPECT_EQ(one[limitLine + 2], "[GlobalPointers] clipped after 1 entries");
  EXPECT_EQ(static_cast<int>(one.size()), limitLine + 3);
  const auto exact = DumpWithLimit(count);
  EXPECT_EQ(exact.back(), "[GlobalPointers] entries=" + count);
  EXPECT_EQ(IndexOf(exact, "[GlobalPointers] clipped"), -1);
}

}  // namespace
}  // namespace e2e
