#include <gtest/gtest.h>

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
  s.WriteScript("pad 0 0\ndinput\ndevice joy joystick\nwaitlog [Core] Initialization OK\n" +
                script + "exit 0\n");
  EXPECT_EQ(s.Run(), 0);
  return s;
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

TEST(DirectInputFilter, OutsideTheWindowHatDownWithAButtonIsBlanked) {
  const Scenario s = RunDevices(
      "format joy joystick\n"
      "devdword 0x20 18000\ndevbyte 0x31 0x80\ndevbyte 0x36 0x80\ngetstate joy 80 down\n"
      "devdword 0x20 9000\ngetstate joy 80 right\n");
  const auto down = StateBytes(s, "down");
  ASSERT_EQ(down.size(), 80u);
  EXPECT_EQ(Dword(down, 0x20), 0xFFFFFFFFu);
  EXPECT_EQ(down[0x31], 0);
  EXPECT_EQ(down[0x36], 0x80);  // button 6 is no part of it
  const auto right = StateBytes(s, "right");
  EXPECT_EQ(Dword(right, 0x20), 9000u);
  EXPECT_EQ(right[0x31], 0x80);
  EXPECT_EQ(s.CountMessages("[Input] DirectInput device hooks installed"), 1);
}

TEST(DirectInputFilter, InsideTheWindowEveryButtonIsReleasedAndEveryHatCentred) {
  const Scenario s =
      RunDevices("devdword 0x20 9000\ndevdword 0x2C 0\ndevfill 0x30 32\ndevbyte 0 0x42\n" +
                 std::string(kInsideWindow) + "getstate joy 80 inside\n");
  const auto inside = StateBytes(s, "inside");
  ASSERT_EQ(inside.size(), 80u);
  for (int hat = 0; hat < 4; ++hat) EXPECT_EQ(Dword(inside, 0x20 + 4 * hat), 0xFFFFFFFFu) << hat;
  for (int button = 0; button < 32; ++button) EXPECT_EQ(inside[0x30 + button], 0) << button;
  EXPECT_EQ(inside[0], 0x42);  // axes pass
}

TEST(DirectInputFilter, AKeyboardSizedReadClearsOnlyTheFormatsFirst32Buttons) {
  const Scenario s = RunDevices("format joy keyboard\ndevfill 0 256\n" +
                                std::string(kInsideWindow) + "getstate joy 256 keys\n");
  const auto keys = StateBytes(s, "keys");
  ASSERT_EQ(keys.size(), 256u);
  for (int i = 0; i < 256; ++i) EXPECT_EQ(keys[i], i < 32 ? 0 : 0x80) << i;
}

TEST(DirectInputFilter, FortyButtonsAreRecordedAsThirtyTwo) {
  const Scenario s = RunDevices("format joy custom:40:0:40\ndevfill 0 40\n" +
                                std::string(kInsideWindow) + "getstate joy 40 buttons\n");
  const auto buttons = StateBytes(s, "buttons");
  ASSERT_EQ(buttons.size(), 40u);
  for (int i = 0; i < 40; ++i) EXPECT_EQ(buttons[i], i < 32 ? 0 : 0x80) << i;
}

TEST(DirectInputFilter, JoyState2AndSeveralHatsUseTheirRecordedLayout) {
  const Scenario s = RunDevices(
      "format joy custom:24:3:12\ndevdword 0 0\ndevdword 4 9000\ndevdword 8 18000\ndevfill 12 12\n"
      "format joy joystick2\ndevfill 0x30 128\n" +
      std::string(kInsideWindow) + "getstate joy 24 hats\ngetstate joy 272 big\n");
  const auto hats = StateBytes(s, "hats");
  ASSERT_EQ(hats.size(), 24u);
  for (int hat = 0; hat < 3; ++hat) EXPECT_EQ(Dword(hats, 4 * hat), 0xFFFFFFFFu);
  for (int i = 12; i < 24; ++i) EXPECT_EQ(hats[i], 0) << i;
  const auto big = StateBytes(s, "big");
  ASSERT_EQ(big.size(), 272u);
  for (int i = 0x30; i < 0x50; ++i) EXPECT_EQ(big[i], 0) << i;     // its first 32 buttons
  for (int i = 0x50; i < 0xB0; ++i) EXPECT_EQ(big[i], 0x80) << i;  // the rest stay
}

TEST(DirectInputFilter, ANinthDataSizeFallsBackToTheFixedLayout) {
  std::string formats;
  for (int size = 100; size < 108; ++size)
    formats += "format joy custom:" + std::to_string(size) + ":1:1\n";
  const Scenario s = RunDevices(formats + "format joy custom:96:1:1\ndevfill 0 96\n" +
                                std::string(kInsideWindow) + "getstate joy 96 ninth\n");
  const auto ninth = StateBytes(s, "ninth");
  ASSERT_EQ(ninth.size(), 96u);
  EXPECT_EQ(ninth[4], 0x80);                   // its own button was not recorded...
  EXPECT_EQ(Dword(ninth, 0x20), 0xFFFFFFFFu);  // ...the standard layout was applied
  EXPECT_EQ(ninth[0x4F], 0);
  EXPECT_EQ(ninth[0x50], 0x80);
}

TEST(DirectInputFilter, BufferedHatDownAndButtonPressAreRemovedTogetherOnly) {
  const Scenario s = RunDevices(
      "format joy joystick\n"
      "devevent 0x04 100\ndevevent 0x20 18000\ndevevent 0x34 0x80\ndevevent 0x30 0x80\n"
      "devevent 0x31 0\ngetdata joy 8 24 both\n"
      "devevent 0x30 0x80\ndevevent 0x20 9000\ngetdata joy 8 24 lone\n" +
      std::string(kInsideWindow) + "devevent 0x04 5\ndevevent 0x08 6\ngetdata joy 8 24 inside\n");
  // Button 4 is one of the recorded joystick buttons, so its press goes too;
  // the axis move and the release stay, in their order.
  EXPECT_EQ(Events(s, "both"), "n=2 events=4:100@0,49:0@4");
  EXPECT_EQ(Events(s, "lone"), "n=2 events=48:128@0,32:9000@1");
  EXPECT_EQ(Events(s, "inside"), "n=0 events=");
}

TEST(DirectInputFilter, LegacySixteenByteRecordsAreLeftIntact) {
  const Scenario s = RunDevices(
      "format joy joystick\ndevevent 0x20 18000\ndevevent 0x30 0x80\n"
      "getdata joy 4 16 legacy\n");
  EXPECT_EQ(Events(s, "legacy"), "n=2 events=32:18000@0,48:128@1");
}

TEST(DirectInputFilter, TwoDevicesOfOneTableLogOnceAndAreBothFiltered) {
  const Scenario s = RunDevices(
      "device pad2 joystick\nformat joy joystick\ndevdword 0x20 18000\ndevbyte 0x30 0x80\n"
      "getstate joy 80 first\ngetstate pad2 80 second\n");
  EXPECT_EQ(s.CountMessages("[Input] DirectInput device hooks installed"), 1);
  EXPECT_EQ(Dword(StateBytes(s, "first"), 0x20), 0xFFFFFFFFu);
  EXPECT_EQ(Dword(StateBytes(s, "second"), 0x20), 0xFFFFFFFFu);
}

TEST(DirectInputFilter, DevicesOfAnotherImplementationReachTheirOwnMethods) {
  // The provider makes keyboard devices with a second method table; each
  // implementation refuses the other's objects with E_UNEXPECTED.
  const Scenario s = RunDevices(
      "device other keyboard\ndevdword 0x20 18000\ndevbyte 0x30 0x80\n"
      "getstate joy 80 joystick\ngetstate other 80 other\n");
  const auto other = StateBytes(s, "other");
  ASSERT_EQ(other.size(), 80u);
  EXPECT_EQ(other[1], 0x5A);                   // its own implementation answered
  EXPECT_EQ(Dword(other, 0x20), 0xFFFFFFFFu);  // and it is filtered
  EXPECT_EQ(Dword(StateBytes(s, "joystick"), 0x20), 0xFFFFFFFFu);
}

TEST(DirectInputFilter, WinesRealKeyboardAndMouseStillWorkThroughTheHookedTable) {
  Scenario s = StandardScenario();
  s.WriteIni("[General]\nIsDebug=1\n");
  s.WriteScript(
      "dinput\ndevice kb keyboard\nformat kb keyboard\nacquire kb 16\n"
      "device m mouse\nformat m mouse\nacquire m 16\n"
      "getstate kb 256 keys\ngetdata kb 4 24 keyevents\ngetstate m 16 mouse\nexit 0\n");
  ASSERT_EQ(s.Run(), 0);
  EXPECT_EQ(s.ResultsStartingWith("format kb keyboard hr=0x00000000").size(), 1u);
  EXPECT_EQ(s.ResultsStartingWith("acquire kb hr=0x00000000").size(), 1u);
  EXPECT_EQ(StateBytes(s, "keys"), std::vector<uint8_t>(256, 0));
  EXPECT_EQ(Events(s, "keyevents"), "n=0 events=");
  EXPECT_EQ(StateBytes(s, "mouse").size(), 16u);
  EXPECT_EQ(s.CountMessages("[Input] DirectInput device hooks installed"), 1);
}

}  // namespace
}  // namespace e2e
