#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "scenario.h"

namespace e2e {
namespace {

// The game reads a joystick of the chained fake provider, whose state and
// events the script sets. "inside" means while ComboGuard hides buttons: the
// worker sees D-pad Down + A held on pad 0.
constexpr char kChainIni[] = "[General]\nIsDebug=1\n[Chainload]\nchainDInput8dllPath=other.dll\n";
constexpr char kInsideWindow[] = "pad 0 0x1002\nwaitlog [Skill] Hotkey\n";

Scenario RunDevices(const std::string& script) {
  Scenario s = StandardScenario();
  s.Install("chain_provider.dll", "other.dll");
  s.WriteIni(kChainIni);
  return s.Play("pad 0 0\ndinput\ndevice joy joystick\nwaitlog [Core] Initialization OK\n" +
                script);
}

std::vector<uint8_t> StateBytes(const Scenario& s, const std::string& label) {
  const auto lines = s.ResultsStartingWith("getstate " + label + " ");
  EXPECT_EQ(lines.size(), 1u) << label;
  if (lines.empty()) return {};
  EXPECT_NE(lines[0].find("hr=0x00000000 guard=ok"), std::string::npos) << lines[0];
  const std::string hex = lines[0].substr(lines[0].find("bytes=") + 6);
  std::vector<uint8_t> bytes;
  for (size_t i = 0; i + 1 < hex.size(); i += 2) {
    bytes.push_back(static_cast<uint8_t>(std::strtoul(hex.substr(i, 2).c_str(), nullptr, 16)));
  }
  return bytes;
}

uint32_t Dword(const std::vector<uint8_t>& bytes, size_t at) {
  return bytes[at] | bytes[at + 1] << 8 | bytes[at + 2] << 16 | uint32_t(bytes[at + 3]) << 24;
}

std::string Events(const Scenario& s, const std::string& label) {
  const auto lines = s.ResultsStartingWith("getdata " + label + " ");
  EXPECT_EQ(lines.size(), 1u) << label;
  if (lines.empty()) return "missing";
  EXPECT_NE(lines[0].find("guard=ok"), std::string::npos) << lines[0];
  return lines[0].substr(lines[0].find(" n=") + 1);
}

// What the filters do with each layout is decided natively (unit.FilterDevice*,
// unit.RecordDataFormat); here the game's real formats reach them through the
// hooks, with the window taken from the controller.
TEST(DirectInputFilter, InsideTheWindowEachRecordedFormatClearsItsFirst32ButtonsAndItsHats) {
  const Scenario s = RunDevices(
      "format joy keyboard\nformat joy custom:24:3:12\nformat joy joystick2\ndevfill 0 272\n" +
      std::string(kInsideWindow) +
      "getstate joy 256 keys\ngetstate joy 24 hats\ngetstate joy 272 big\n");
  const auto keys = StateBytes(s, "keys");
  ASSERT_EQ(keys.size(), 256u);
  for (int i = 0; i < 256; ++i) EXPECT_EQ(keys[i], i < 32 ? 0 : 0x80) << i;
  const auto hats = StateBytes(s, "hats");
  ASSERT_EQ(hats.size(), 24u);
  for (int hat = 0; hat < 3; ++hat) EXPECT_EQ(Dword(hats, 4 * hat), 0xFFFFFFFFu);
  for (int i = 12; i < 24; ++i) EXPECT_EQ(hats[i], 0) << i;
  const auto big = StateBytes(s, "big");
  ASSERT_EQ(big.size(), 272u);
  EXPECT_EQ(big[0], 0x80);  // axes pass
  for (int hat = 0; hat < 4; ++hat) EXPECT_EQ(Dword(big, 0x20 + 4 * hat), 0xFFFFFFFFu) << hat;
  for (int i = 0x30; i < 0x50; ++i) EXPECT_EQ(big[i], 0) << i;     // its first 32 buttons
  for (int i = 0x50; i < 0xB0; ++i) EXPECT_EQ(big[i], 0x80) << i;  // the rest stay
}

TEST(DirectInputFilter, BufferedHatDownAndButtonPressAreRemovedTogetherOnly) {
  const Scenario s = RunDevices(
      "format joy joystick\n"
      "devevent 0x20 18000\ndevevent 0x30 0x80\ngetdata joy 4 16 legacy\n"
      "devevent 0x04 100\ndevevent 0x20 18000\ndevevent 0x34 0x80\ndevevent 0x30 0x80\n"
      "devevent 0x31 0\ngetdata joy 8 24 both\n"
      "devevent 0x30 0x80\ndevevent 0x20 9000\ngetdata joy 8 24 lone\n" +
      std::string(kInsideWindow) + "devevent 0x04 5\ndevevent 0x08 6\ngetdata joy 8 24 inside\n");
  // Sixteen-byte records are left intact, whatever they hold.
  EXPECT_EQ(Events(s, "legacy"), "n=2 events=32:18000@0,48:128@1");
  // Button 4 is one of the recorded joystick buttons, so its press goes too;
  // the axis move and the release stay, in their order.
  EXPECT_EQ(Events(s, "both"), "n=2 events=4:100@0,49:0@4");
  EXPECT_EQ(Events(s, "lone"), "n=2 events=48:128@0,32:9000@1");
  EXPECT_EQ(Events(s, "inside"), "n=0 events=");
}

// A pad lost in the middle of a combination holds no button: the game's
// keyboard is no longer kept from it once the window after the last arming
// has run out (250 ms and a tick), without waiting for the pad to come back.
TEST(DirectInputFilter, APadLostInsideTheWindowGivesTheKeyboardBackWhenTheWindowRunsOut) {
  const Scenario s = RunDevices("format joy keyboard\n" + std::string(kInsideWindow) +
                                "devevent 0x1E 0x80\ngetdata joy 4 24 held\npad 0 off\n"
                                "untildata joy 0x1E 0x80 back\n");
  EXPECT_EQ(Events(s, "held"), "n=0 events=");
  const auto back = s.ResultsStartingWith("untildata back ");
  ASSERT_EQ(back.size(), 1u) << s.Read("results.txt");
  std::printf("first key event through %s after the pad was lost\n", back[0].c_str() + 15);
}

// Outside the window hat down with a button is blanked on every device: two
// of one method table, and one of the provider's second implementation, which
// refuses the other's objects with E_UNEXPECTED.
TEST(DirectInputFilter, EveryDeviceIsFilteredAndReachesItsOwnMethods) {
  const Scenario s = RunDevices(
      "device pad2 joystick\ndevice other keyboard\nformat joy joystick\ndevdword 0x20 18000\n"
      "devbyte 0x30 0x80\ndevbyte 0x36 0x80\n"
      "getstate joy 80 first\ngetstate pad2 80 second\ngetstate other 80 other\n");
  EXPECT_EQ(s.CountMessages("[Input] DirectInput device hooks installed"), 1);
  const auto first = StateBytes(s, "first");
  ASSERT_EQ(first.size(), 80u);
  EXPECT_EQ(Dword(first, 0x20), 0xFFFFFFFFu);
  EXPECT_EQ(first[0x30], 0);
  EXPECT_EQ(first[0x36], 0x80);  // button 6 is no part of it
  EXPECT_EQ(Dword(StateBytes(s, "second"), 0x20), 0xFFFFFFFFu);
  const auto other = StateBytes(s, "other");
  ASSERT_EQ(other.size(), 80u);
  EXPECT_EQ(other[1], 0x5A);  // its own implementation answered
  EXPECT_EQ(Dword(other, 0x20), 0xFFFFFFFFu);
}

// The game's dinput8.dll chains to a second copy of the library, which chains
// to the provider. The second copy lost the start-up guard and only forwards:
// with LB as the held button, hat down with button 0 reaches the game.
TEST(DirectInputFilter, ASecondCopyOfTheLibraryInTheChainOnlyForwards) {
  Scenario s = StandardScenario();
  s.InstallProduct("b/other.dll");
  s.Install("chain_provider.dll", "provider.dll");
  s.WriteIni(
      "[General]\nIsDebug=1\n[Combination]\nModifier=LB\n[Chainload]\n"
      "chainDInput8dllPath=b\\other.dll\n");
  s.WriteFile("b/artwheel.ini",
              "[General]\nIsDebug=1\n[Chainload]\nchainDInput8dllPath=..\\provider.dll\n");
  s.Play(
      "pad 0 0\ndinput\ndevice joy joystick\nformat joy joystick\n"
      "waitlog [Core] Initialization OK\ndevdword 0x20 18000\ndevbyte 0x30 0x80\n"
      "getstate joy 80 read\n");
  EXPECT_EQ(s.CountMessages("[Core] Duplicate core start suppressed by mutex guard"), 1) << s.Log();
  EXPECT_EQ(s.Read("provider_calls.txt"),
            "DirectInput8Create version=0x0800 out=given\nCreateDevice\n");
  EXPECT_EQ(s.CountMessages("[Input] Hooked DirectInput8 CreateDevice"), 1);
  const auto read = StateBytes(s, "read");
  ASSERT_EQ(read.size(), 80u);
  EXPECT_EQ(Dword(read, 0x20), 18000u);
  EXPECT_EQ(read[0x30], 0x80);
}

TEST(DirectInputFilter, WinesRealKeyboardAndMouseStillWorkThroughTheHookedTable) {
  Scenario s = StandardScenario();
  s.WriteIni("[General]\nIsDebug=1\n");
  s.Play(
      "dinput\ndevice kb keyboard\nformat kb keyboard\nacquire kb 16\n"
      "device m mouse\nformat m mouse\nacquire m 16\n"
      "getstate kb 256 keys\ngetdata kb 4 24 keyevents\ngetstate m 16 mouse\n");
  EXPECT_EQ(s.ResultsStartingWith("format kb keyboard hr=0x00000000").size(), 1u);
  EXPECT_EQ(s.ResultsStartingWith("acquire kb hr=0x00000000").size(), 1u);
  EXPECT_EQ(StateBytes(s, "keys"), std::vector<uint8_t>(256, 0));
  EXPECT_EQ(Events(s, "keyevents"), "n=0 events=");
  EXPECT_EQ(StateBytes(s, "mouse").size(), 16u);
  EXPECT_EQ(s.CountMessages("[Input] DirectInput device hooks installed"), 1);
}

}  // namespace
}  // namespace e2e
