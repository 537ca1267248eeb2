#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "scenario.h"

namespace e2e {
namespace {

// Starts the game with the given configuration file and lets the worker load it.
Scenario RunWithIni(const std::string& ini) { return Played(ini, "wait 400\n"); }

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
  const Scenario s = RunWithIni(GetParam().ini);
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

}  // namespace
}  // namespace e2e
