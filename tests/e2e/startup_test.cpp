#include <gtest/gtest.h>

#include <regex>

#include "scenario.h"

namespace e2e {
namespace {

constexpr char kReady[] = "waitlog [Core] Initialization OK\n";

// A second copy of the library loaded into the game afterwards is stopped by
// the mutex; its lines keep the format too.
TEST(Startup, LogLinesHaveTheFormatAndTheStartSequence) {
  Scenario s = StandardScenario();
  s.InstallProduct("artwheel_copy.dll");
  s.WriteIni("[General]\nIsDebug=true\n");
  s.Play(std::string(kReady) + "loaddll artwheel_copy.dll\nwaitlog [Core] Duplicate core start\n");

  const std::string log = s.Log();
  ASSERT_FALSE(log.empty());
  ASSERT_EQ(log.substr(log.size() - 2), "\r\n");
  const std::regex line(
      R"(\[\d{4}-\d{2}-\d{2} \d{2}:\d{2}:\d{2}\] \[pid=\d+ tid=\d+\] \[[A-Za-z]+\] [^\r\n]*\r\n)");
  std::string rest = log;
  std::smatch match;
  while (!rest.empty()) {
    ASSERT_TRUE(std::regex_search(rest, match, line, std::regex_constants::match_continuous))
        << "bad line at: " << rest.substr(0, 120);
    rest = match.suffix();
  }

  const auto messages = s.LogMessages();
  ASSERT_GE(messages.size(), 6u);
  EXPECT_TRUE(
      std::regex_match(messages[0], std::regex(R"(\[Core\] Process image: .*\\sekiro\.exe)")))
      << messages[0];
  EXPECT_EQ(messages[1], "[Core] artwheel " ARTWHEEL_VERSION);
  EXPECT_EQ(messages[2], "[Core] Thread started");
  // Beside the library, not in the current folder; the limit key missing gives 2000.
  EXPECT_EQ(messages[3].rfind("[Config] Loaded from " + s.WindowsDir() + "\\artwheel.ini; ", 0), 0u)
      << messages[3];
  EXPECT_NE(messages[3].find(" DumpGlobalPointerLimit=2000"), std::string::npos) << messages[3];
  EXPECT_EQ(messages[4], "[Overlay] Disabled in config");
  EXPECT_EQ(messages[5], "[Core] Initialization OK");

  EXPECT_EQ(s.ResultsStartingWith("loaddll")[0], "loaddll artwheel_copy.dll ok 0");
  EXPECT_EQ(s.CountMessages("[Core] Duplicate core start suppressed by mutex guard"), 1);
  EXPECT_EQ(s.CountMessages("[Core] Thread started"), 1);
  EXPECT_EQ(s.CountMessages("[Core] Process image: "), 2);
  EXPECT_EQ(s.CountMessages("[Core] artwheel " ARTWHEEL_VERSION), 2);
}

TEST(Startup, WithLoggingOffNoLogFileIsCreatedAndTheIniGetsItsSixKeys) {
  Scenario s = StandardScenario();
  s.Play("dinput\npad 0 0x9002\nwait 600\n");
  EXPECT_FALSE(s.Exists("artwheel_log.txt"));
  EXPECT_EQ(s.Ini(),
            "[Slots]\r\nY=0\r\nA=0\r\nB=0\r\nX=0\r\n[Overlay]\r\nEnable=0\r\n"
            "[SkillPanel]\r\nEnable=0\r\n");
}

// Another program started from the game folder reads a joystick whose hat
// points down while button 0 is pressed: the provider's devices reach it as
// they are, and nothing but the image and version lines and the forwarding is
// logged.
TEST(Startup, AnotherProcessOnlyForwardsDirectInput) {
  Scenario s;
  s.InstallProduct();
  s.InstallGame("game.exe");
  s.InstallXInput("xinput1_4.dll");
  s.Install("chain_provider.dll", "other.dll");
  const std::string ini = "[General]\nIsDebug=1\n[Chainload]\nchainDInput8dllPath=other.dll\n";
  s.WriteIni(ini);
  s.Play(
      "pad 0 0x9002\ndinput\ndevice joy joystick\nformat joy joystick\nacquire joy\n"
      "devdword 0x20 18000\ndevbyte 0x30 0x80\ngetstate joy 80 read\nwait 300\n",
      "game.exe");
  const auto messages = s.LogMessages();
  ASSERT_FALSE(messages.empty());
  EXPECT_TRUE(
      std::regex_match(messages[0], std::regex(R"(\[Core\] Process image: .*\\game\.exe)")));
  for (const std::string& message : messages) {
    EXPECT_TRUE(message.rfind("[Core] Process image: ", 0) == 0 ||
                message == "[Core] artwheel " ARTWHEEL_VERSION ||
                message.rfind("[Chainload] ", 0) == 0)
        << message;
  }
  EXPECT_EQ(s.CountMessages("[Chainload] Forwarding DirectInput8Create to "), 1);
  const auto read = s.ResultsStartingWith("getstate read ");
  ASSERT_EQ(read.size(), 1u) << s.Read("results.txt");
  // Hat 0 at 18000 (down) and button 0 pressed, as the provider reported them.
  const std::string hex = read[0].substr(read[0].find("bytes=") + 6);
  EXPECT_EQ(hex.substr(2 * 0x20, 8), "50460000") << read[0];
  EXPECT_EQ(hex.substr(2 * 0x30, 2), "80") << read[0];
  EXPECT_EQ(s.Ini(), ini);  // no worker, no write-back
}

}  // namespace
}  // namespace e2e
