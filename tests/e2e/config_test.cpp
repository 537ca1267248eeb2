#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "png_file.h"
#include "scenario.h"

namespace e2e {
namespace {

// Starts the game with the given configuration file and waits until the
// worker has loaded it: for its last start line, or with logging off for the
// slots written back (the log's first line would have come before).
Scenario RunWithIni(const std::string& ini, bool logging = true) {
  return Played(ini, logging ? "waitlog [Core] Initialization OK\n" : "waitini Slots Y 0\n");
}

std::string ConfigLine(const Scenario& s) {
  for (const std::string& message : s.LogMessages()) {
    if (message.rfind("[Config] Loaded from ", 0) == 0) return message;
  }
  return "";
}

struct DebugCase {
  const char* name;
  const char* ini;
  bool logging;
};

// The scanner's and the words' own rules are checked natively (unit.IniKeyScanner,
// unit.ParseBool); here the scanner's value wins over the profile functions'
// either way, and stands in for them where they see no [General] key or a
// different line.
class IsDebugRules : public ::testing::TestWithParam<DebugCase> {};

TEST_P(IsDebugRules, DecideWhetherTheLogIsWritten) {
  const Scenario s = RunWithIni(GetParam().ini, GetParam().logging);
  EXPECT_EQ(s.Exists("artwheel_log.txt"), GetParam().logging) << GetParam().ini;
  if (GetParam().logging) {
    EXPECT_EQ(s.CountMessages("[Core] Initialization OK"), 1);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Config, IsDebugRules,
    ::testing::Values(
        DebugCase{"OnlyLineNoSection", "IsDebug=yes", true},
        DebugCase{"FirstLineWinsOff", "[Other]\nIsDebug=off\n[General]\nIsDebug=true\n", false},
        DebugCase{"FirstLineWinsOn", "[Other]\nIsDebug=1\n[General]\nIsDebug=false\n", true},
        // The profile functions end lines at CR too; the scanner sees one header line.
        DebugCase{"CrOnlyLineEnds", "[General]\rIsDebug=true\rOther=1\r", true}),
    [](const auto& param) { return std::string(param.param.name); });

// The write-back clamps and normalises the slot and enable keys and leaves
// comments, other keys and other sections as they were; a slot value that is
// no known combat art id is named.
TEST(Config, ClampsAndNormalisesWhatItWritesBackAndKeepsTheRest) {
  const Scenario s = RunWithIni(
      "; my settings\n[General]\nIsDebug=1 ; loud\n[Overlay]\nEnable=7\n[SkillPanel]\nEnable=0\n"
      "[HudProbe]\nEnable=3\nDumpGlobalPointerLimit=0\n[UIScan]\nIntervalMs=10\n"
      "[Slots]\n# favourite arts\nY=7300 ; mine\nB=Whirlwind\nA=5050\nX=0\n[Mine]\nColour=blue\n");
  EXPECT_EQ(s.MessagesStartingWith("[Config] Slots "),
            (std::vector<std::string>{
                "[Config] Slots A=5050 is not a known combat art id (5000 to 9900 in steps of "
                "100); kept and sent to the game as it is",
                "[Config] Slots B=\"Whirlwind\" is not a number; read and saved as B=0"}));
  const std::string line = ConfigLine(s);
  EXPECT_NE(
      line.find("slots: Y=7300 A=5050 B=0 X=0 Overlay=ON SkillPanel=OFF UIScan=OFF Detail=OFF "
                "HudProbe=ON GlobalFields=OFF DumpGlobalPointers=OFF "
                "DumpGlobalPointerLimit=1"),
      std::string::npos)
      << line;
  const std::string ini = s.Ini();
  EXPECT_NE(ini.find("[Overlay]\r\nEnable=1\r\n"), std::string::npos) << ini;
  EXPECT_NE(ini.find("Y=7300\r\nB=0\r\nA=5050\r\nX=0\r\n"), std::string::npos) << ini;
  for (const char* kept : {"; my settings", "IsDebug=1 ; loud", "# favourite arts", "[Mine]",
                           "Colour=blue", "IntervalMs=10"}) {
    EXPECT_NE(ini.find(kept), std::string::npos) << kept << "\n" << ini;
  }
}

// Files that cannot be read as a configuration give the defaults and never
// bring the game down.
struct BadFile {
  const char* name;
  std::string content;
};

class BadConfigFile : public ::testing::TestWithParam<BadFile> {};

TEST_P(BadConfigFile, GivesDefaultsAndTheGameRunsOn) {
  Scenario s = StandardScenario();
  s.WriteIni(GetParam().content);
  // No equip within 300 ms of a press the worker may not take.
  s.WriteScript("own 5000 11\nequipped 12\npad 0 0\nwait 300\npad 0 0x9002\nwait 300\nexit 7\n");
  EXPECT_EQ(s.Run(), 7);
  EXPECT_EQ(s.ResultsStartingWith("exit").at(0), "exit 7");
  EXPECT_TRUE(s.ResultsStartingWith("equip first").empty());
}

std::string Binary() {
  std::string bytes;
  for (int i = 0; i < 70000; ++i) bytes.push_back(static_cast<char>((i * 7919) & 0xFF));
  return bytes;
}

INSTANTIATE_TEST_SUITE_P(
    Config, BadConfigFile,
    ::testing::Values(BadFile{"HugeLine", "[Slots]\nY=" + std::string(1 << 20, '9') + "\n"},
                      BadFile{"NulBytes", std::string("[Slots]\nY=50\0"
                                                      "00\n\0\0IsDebug=1\0",
                                                      24)},
                      BadFile{"Binary", Binary()}, BadFile{"NoFinalBreak", "[General]\nIsDebug=0"}),
    [](const auto& param) { return std::string(param.param.name); });

// Folder names of `count` CJK characters: three bytes each in UTF-8, one code
// unit each for the system.
std::string CjkName(int count) {
  std::string name;
  for (int i = 0; i < count; ++i) name += i % 2 == 0 ? "\xE9\x9A\xBB" : "\xE7\x8B\xBC";  // 隻狼
  return name;
}

// The game in nested folders whose names the system's code page cannot spell
// and that add up to 100 CJK characters (300 bytes in UTF-8, each name within
// the 255 bytes of a file name): the library's own path, the starter and
// artwheel.ini, the log, the images, an assignment saved and a chain path given
// in UTF-8 (with its mark) all work.
TEST(Config, ALongGameFolderNamedInAnyLanguageWorks) {
  Scenario s;
  s.MoveInto("\xD0\x98\xD0\xB3\xD1\x80\xD1\x8B \xE9\x9A\xBB\xE7\x8B\xBC Sekiro/" +  // Игры 隻狼
             CjkName(34) + "/" + CjkName(33) + "/" + CjkName(31));
  s.InstallProduct();
  s.InstallGame();
  s.InstallXInput("xinput1_4.dll");
  const std::string chained =
      "\xD0\xBC\xD0\xBE\xD0\xB4\\\xE5\x85\xB6\xE4\xBB\x96.dll";  // мод\其他.dll
  s.Install("chain_provider.dll", "\xD0\xBC\xD0\xBE\xD0\xB4/\xE5\x85\xB6\xE4\xBB\x96.dll");
  s.WriteFile("artwheel.starter.ini",
              "\xEF\xBB\xBF[General]\r\nIsDebug=true\r\n[Slots]\r\nB=7300\r\n[Overlay]\r\n"
              "Enable=1\r\n[SkillPanel]\r\nEnable=1\r\n[Chainload]\r\nchainDInput8dllPath=" +
                  chained + "\r\n");
  s.WriteFile("resources/bg.png", SolidPng(16, 16, {200, 0, 0, 255}));
  s.WriteFile("resources/7300.png", SolidPng(8, 8, {0, 255, 0, 255}));
  // The icon and the background beside it on the 1920 x 1080 panel.
  s.Play(
      "own 7300 73\nown 5100 51\nequipped 73\nmenu activeOrHud 1\nmenu loadingOrUi 1\n"
      "menu postLoad 1\ndinput\nwindow 1920 1080\npad 0 0\n"
      "waitlog [Overlay] SkillPanel resolution=\nuntilpixel 1830 940 0 255 0\nscreenshot frame\n" +
      Probe("icon", 1830, 940) + Probe("background", 1790, 900) +
      "equipped 51\npresspad 0x2002 equip\npadseen\n"
      "menu pauseMenu 2\nmenu selectedResolvedId 51\npadseen\npad 0 0x2002\n"
      "waitini Slots B 5100\npad 0 0\nmenu pauseMenu 0\nwaitlog [Skill] Assigned combat art id\n");
  EXPECT_TRUE(PixelNear(s, "icon", {0, 255, 0}));
  EXPECT_TRUE(PixelNear(s, "background", {133, 26, 38}));  // 60% of (200, 0, 0) over the frame

  const std::string dir = s.WindowsDir();
  const std::vector<std::string> messages = s.LogMessages();
  ASSERT_GE(messages.size(), 2u) << s.Log();
  EXPECT_EQ(messages[0], "[Core] Process image: " + dir + "\\sekiro.exe");
  EXPECT_EQ(s.MessagesStartingWith("[Config] Made "),
            std::vector<std::string>{"[Config] Made " + dir +
                                     "\\artwheel.ini from artwheel.starter.ini"});
  EXPECT_EQ(
      s.CountMessages("[Config] Loaded from " + dir + "\\artwheel.ini; slots: Y=0 A=0 B=7300"), 1);
  EXPECT_EQ(s.CountMessages("[Chainload] Loaded: " + dir + "\\" + chained), 1);
  EXPECT_EQ(s.CountMessages("[Chainload] Selected DirectInput8Create provider"), 1);
  EXPECT_EQ(s.CountMessages("[Skill] Equip combat art id 7300 OK"), 1);
  EXPECT_EQ(s.CountMessages("[Skill] Assigned combat art id 5100 (resolved 51) to slot 2"), 1);
  EXPECT_EQ(s.Read("provider_calls.txt"), "DirectInput8Create version=0x0800 out=given\n");
  const std::string ini = s.Ini();
  EXPECT_EQ(ini.rfind("\xEF\xBB\xBF[General]\r\n", 0), 0u) << ini;
  EXPECT_NE(ini.find("chainDInput8dllPath=" + chained + "\r\n"), std::string::npos) << ini;
}

}  // namespace
}  // namespace e2e
