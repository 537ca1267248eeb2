#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "scenario.h"

namespace e2e {
namespace {

constexpr char kReady[] = "waitlog [Core] Initialization OK\n";

uint32_t U32At(const std::string& bytes, size_t at) {
  uint32_t value = 0;
  for (int i = 3; i >= 0; --i) value = value << 8 | static_cast<uint8_t>(bytes.at(at + i));
  return value;
}

std::string Hex(uint32_t value, int width) {
  char text[16];
  std::snprintf(text, sizeof text, "%0*X", width, value);
  return text;
}

// The game line as the headers of the scenario's sekiro.exe say it must read;
// the code bytes are matched against the patterns, the equip function's
// against `equipCode` when it is not a pattern.
std::string GameLine(const Scenario& s, const std::string& version, const std::string& resolveCode,
                     const std::string& equipCode = "") {
  const std::string image = s.Read("sekiro.exe");
  const size_t nt = U32At(image, 0x3C);
  const std::string line = "[Core] Game: sekiro.exe, file version " + version + ", image size 0x" +
                           Hex(U32At(image, nt + 0x50), 1) + ", time stamp 0x" +
                           Hex(U32At(image, nt + 8), 8) + "; GameResolveArt +0xC3D680: ";
  const auto messages = s.MessagesStartingWith(line);
  if (messages.size() != 1) return "no line starting " + line;
  const std::string rest = messages[0].substr(line.size());
  const std::string equip = equipCode.empty() ? resolveCode : equipCode;
  return MatchesWhole(rest, resolveCode + "; GameEquipArt \\+0xD592F0: " + equip)
             ? messages[0]
             : "unexpected " + rest;
}

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
  const char* line =
      R"(\[\d{4}-\d{2}-\d{2} \d{2}:\d{2}:\d{2}\] \[pid=\d+ tid=\d+\] \[[A-Za-z]+\] [^\r\n]*)";
  for (size_t at = 0, end = 0; at < log.size(); at = end + 2) {
    end = log.find("\r\n", at);
    ASSERT_NE(end, std::string::npos) << "no CR LF after: " << log.substr(at, 120);
    ASSERT_TRUE(MatchesWhole(log.substr(at, end - at), line))
        << "bad line at: " << log.substr(at, 120);
  }

  const auto messages = s.LogMessages();
  ASSERT_GE(messages.size(), 8u);
  EXPECT_TRUE(MatchesWhole(messages[0], R"(\[Core\] Process image: .*\\sekiro\.exe)"))
      << messages[0];
  EXPECT_EQ(messages[1], "[Core] artwheel " ARTWHEEL_VERSION);
  // The game's import spells the name as it likes.
  EXPECT_TRUE(MatchesWhole(
      messages[2], R"(\[Core\] Loaded as dinput8\.dll \(the process's dinput8\.dll\))", true))
      << messages[2];
  EXPECT_EQ(messages[3], "[Core] Thread started");
  // Beside the library, not in the current folder; the limit key missing gives 2000.
  EXPECT_EQ(messages[4].rfind("[Config] Loaded from " + s.WindowsDir() + "\\artwheel.ini; ", 0), 0u)
      << messages[4];
  EXPECT_NE(messages[4].find(" DumpGlobalPointerLimit=2000"), std::string::npos) << messages[4];
  EXPECT_EQ(messages[5], "[Overlay] Disabled in config");
  EXPECT_EQ(messages[6], "[Core] Initialization OK");
  EXPECT_EQ(messages[7], GameLine(s, "1.6.0.0", "48b8[0-9a-f]{16}ffe000000000"));

  EXPECT_EQ(s.ResultsStartingWith("loaddll")[0], "loaddll artwheel_copy.dll ok 0");
  EXPECT_EQ(s.CountMessages("[Core] Duplicate core start suppressed by mutex guard"), 1);
  EXPECT_EQ(s.CountMessages("[Core] Thread started"), 1);
  EXPECT_EQ(s.CountMessages("[Core] Process image: "), 2);
  EXPECT_EQ(s.CountMessages("[Core] artwheel " ARTWHEEL_VERSION), 2);
  EXPECT_EQ(s.CountMessages("[Core] Loaded as artwheel_copy.dll (not the process's dinput8.dll)"),
            1);
}

// A game build whose image ends before the static pointers and whose equip
// function is no code: each failed check is one line, nothing reads or calls
// through the failed addresses, and the game gets its own controls back in
// full: D-pad Down + B reaches it through XInput, hat down + button 1 through
// DirectInput, and nothing is equipped.
TEST(Startup, AGameBuildWhoseAddressesFailTheChecksGetsEveryButton) {
  Scenario s = StandardScenario();
  s.InstallGame("sekiro.exe", "sekiro_small_image.exe");
  s.Install("chain_provider.dll", "other.dll");
  s.WriteIni(
      "[General]\nIsDebug=1\n[Slots]\nB=7300\n[SkillPanel]\nEnable=1\n[Chainload]\n"
      "chainDInput8dllPath=other.dll\n");
  // The hooks' line comes in the tick after the checks.
  s.Play(
      "own 7300 73\nequipped 73\npad 0 0\ndinput\ndevice joy joystick\nformat joy joystick\n"
      "waitlog [Input] Hooked 1 XInputGetState\npad 0 0x2002\nread combo\n"
      "devdword 0x20 18000\ndevbyte 0x31 0x80\ngetstate joy 80 dinput\npadseen\n");
  const std::string off =
      "; combinations, keys and the panel are off for this run, the game gets every button";
  EXPECT_EQ(s.MessagesStartingWith("[Core] Game"),
            (std::vector<std::string>{
                "[Core] Game address check failed: GameDataManager pointer (+0x3D5AAC0), "
                "MenuStateManager pointer (+0x3D67408) not in committed, writable memory of the "
                "game's image" +
                    off,
                GameLine(s, "none", "48b8[0-9a-f]{16}ffe000000000", "not code"),
                "[Core] Game address check failed: GameEquipArt (+0xD592F0) not in committed, "
                "executable memory of the game's image" +
                    off}))
      << s.Log();
  EXPECT_EQ(s.ResultsStartingWith("read combo").at(0), "read combo pad=0 rc=0 buttons=0x2002");
  const auto read = s.ResultsStartingWith("getstate dinput ");
  ASSERT_EQ(read.size(), 1u) << s.Read("results.txt");
  const std::string hex = read[0].substr(read[0].find("bytes=") + 6);
  EXPECT_EQ(hex.substr(2 * 0x20, 8), "50460000") << read[0];  // hat 0 at 18000
  EXPECT_EQ(hex.substr(2 * 0x31, 2), "80") << read[0];        // button 1 pressed
  // Held for 300 ms more, the combination acts on nothing.
  EXPECT_EQ(s.CountMessages("[Skill]"), 0);
  EXPECT_EQ(s.ResultsStartingWith("resolve").at(0), "resolve calls=0 bad_argument=0");
  EXPECT_TRUE(s.ResultsStartingWith("equip first").empty());
  EXPECT_EQ(s.CountMessages("[Overlay]"), 1);  // its setting line only: no panel
}

TEST(Startup, WithLoggingOffNoLogFileIsCreatedAndTheIniGetsItsSixKeys) {
  Scenario s = StandardScenario();
  s.Play("dinput\npad 0 0x9002\nwaitini SkillPanel Enable 0\npadseen\n");
  EXPECT_FALSE(s.Exists("artwheel_log.txt"));
  EXPECT_EQ(s.Ini(),
            "[Slots]\r\nY=0\r\nA=0\r\nB=0\r\nX=0\r\n[Overlay]\r\nEnable=0\r\n"
            "[SkillPanel]\r\nEnable=0\r\n");
}

// Another program started from the game folder reads a joystick whose hat
// points down while button 0 is pressed: the provider's devices reach it as
// they are, and nothing but the image line and the forwarding is logged: no
// version line, which would read as a start of the mod.
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
      // Nothing more is logged within 300 ms.
      "devdword 0x20 18000\ndevbyte 0x30 0x80\ngetstate joy 80 read\nwait 300\n",
      "game.exe");
  const auto messages = s.LogMessages();
  ASSERT_FALSE(messages.empty());
  EXPECT_TRUE(MatchesWhole(messages[0], R"(\[Core\] Process image: .*\\game\.exe)"));
  for (const std::string& message : messages) {
    EXPECT_TRUE(message.rfind("[Core] Process image: ", 0) == 0 ||
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
