// The player's own controls: the held button, combinations off, PlayStation
// names, and artwheel.ini changes applied while the game runs.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "png_file.h"
#include "scenario.h"

namespace e2e {
namespace {

// Hat 0 and buttons 0 to 9 of a DIJOYSTATE read, as "hat b0 b1 ... b9".
std::string Joy(const Scenario& s, const std::string& label) {
  const std::string hex = s.DeviceBytesRead(label);
  if (hex == "missing") return hex;
  auto byte = [&hex](size_t at) { return hex.substr(2 * at, 2); };
  std::string text = byte(0x23) + byte(0x22) + byte(0x21) + byte(0x20);
  for (size_t button = 0; button < 10; ++button) text += " " + byte(0x30 + button);
  return text;
}

// One kind of held button: D-pad Down + A and hat down with button 1 belong
// to the game unless Down is held; then the held control with A, which the
// game does not see and the worker acts on.
std::string TryHeld(const std::string& name, const std::string& bit, const std::string& device,
                    const std::string& label) {
  // Read until the guard's 250 ms after the kind before have run out.
  return "pad 0 0x1002\nuntilread 0x1002 " + name + "-other\ndevclear\ndevdword 0x20 18000\n" +
         "devbyte 0x31 0x80\ngetstate joy 80 " + name + "-other\ndevclear\n" + device +
         "devbyte 0x31 0x80\ngetstate joy 80 " + name + "-held\npad 0 " + bit + "\nread " + name +
         "-held\nwaitlog [Skill] Hotkey " + label + "+Cross selected slot 1\npad 0 0\npadseen\n";
}

TEST(Controls, EachKindOfHeldButtonThroughXInputAndDirectInputThenCombinationsOff) {
  Scenario s = StandardScenario();
  s.Install("chain_provider.dll", "other.dll");
  s.WriteIni(
      "[General]\nIsDebug=1\nApplyChanges=1\n[Chainload]\nchainDInput8dllPath=other.dll\n"
      "[Slots]\nA=5100\n[Keys]\nA=F2\n[Combination]\nModifier=dpadup\nButtonNames=PlayStation\n");
  s.Play(
      "own 5100 51\npad 0 0\ndinput\ndevice joy joystick\nformat joy joystick\n"
      "waitlog [Input] Hooked 1 XInputGetState import(s)\npadseen\n" +
      TryHeld("up", "0x1001", "devdword 0x20 0\n", "D-pad Up") +
      "inikey Combination Modifier LB\nwaitlogn 1 [Config] Reloaded from\n" +
      TryHeld("lb", "0x1100", "devdword 0x20 0xFFFFFFFF\ndevbyte 0x34 0x80\n", "L1") +
      "inikey Combination Modifier RS\nwaitlogn 2 [Config] Reloaded from\n" +
      TryHeld("rs", "0x1080", "devdword 0x20 0xFFFFFFFF\ndevbyte 0x39 0x80\n", "R3") +
      "inikey Combination Modifier Start\nwaitlogn 3 [Config] Reloaded from\n"
      "inikey Combination Enable 0\nwaitlogn 4 [Config] Reloaded from\n"
      "pad 0 0x1080\nread off\ndevclear\ndevdword 0x20 18000\ndevbyte 0x31 0x80\n"
      "devbyte 0x39 0x80\ngetstate joy 80 off\npadseen\npad 0 0\n"
      "key F2 down\nwaitlog [Input] Key F2 pressed\nkey F2 up\n");
  const std::string other = "00004650 00 80 00 00 00 00 00 00 00 00";  // hat 18000, button 1
  const std::string none = "ffffffff 00 00 00 00 00 00 00 00 00 00";
  EXPECT_EQ(s.ButtonsRead("up-other"), "0x1002");
  EXPECT_EQ(Joy(s, "up-other"), other);
  EXPECT_EQ(Joy(s, "up-held"), none);
  EXPECT_EQ(s.ButtonsRead("up-held"), "0x0000");
  EXPECT_EQ(s.ButtonsRead("lb-other"), "0x1002");
  EXPECT_EQ(Joy(s, "lb-other"), other);
  EXPECT_EQ(Joy(s, "lb-held"), none);
  EXPECT_EQ(s.ButtonsRead("lb-held"), "0x0000");
  EXPECT_EQ(s.ButtonsRead("rs-other"), "0x1002");
  EXPECT_EQ(Joy(s, "rs-other"), other);
  EXPECT_EQ(Joy(s, "rs-held"), none);
  EXPECT_EQ(s.ButtonsRead("rs-held"), "0x0000");
  // Off: the game sees everything, the pad equips nothing, the key still does.
  EXPECT_EQ(s.ButtonsRead("off"), "0x1080");
  EXPECT_EQ(Joy(s, "off"), "00004650 00 80 00 00 00 00 00 00 00 80");
  EXPECT_EQ(s.CountMessages("[Skill] Hotkey "), 4) << s.Log();
  EXPECT_EQ(s.CountMessages("[Skill] Hotkey R3+Cross selected slot 1"), 2);  // pad, then key
  EXPECT_EQ(
      s.MessagesStartingWith("[Config] Combination="),
      (std::vector<std::string>{"[Config] Combination=ON Modifier=DPadUp ButtonNames=PlayStation",
                                "[Config] Combination=ON Modifier=LB ButtonNames=PlayStation",
                                "[Config] Combination=ON Modifier=RS ButtonNames=PlayStation",
                                "[Config] Combination=ON Modifier=RS ButtonNames=PlayStation",
                                "[Config] Combination=OFF Modifier=RS ButtonNames=PlayStation"}));
  // Refused at each reload while the file holds it, as it would be at a start.
  EXPECT_EQ(s.MessagesStartingWith("[Config] Unknown button"),
            std::vector<std::string>(
                2, "[Config] Unknown button \"Start\" in [Combination] Modifier; RS stays"));
}

constexpr Rgb kBackground{133, 26, 38};
constexpr Rgb kMessageBox{13, 20, 27};

// An edited file as an editor saves it: whole, in one write.
std::string EditedIni(const std::string& slots, const std::string& keys) {
  return "[General]\r\nIsDebug=1\r\nApplyChanges=1\r\n[Slots]\r\n" + slots +
         "[Overlay]\r\nEnable=1\r\n[SkillPanel]\r\nEnable=1\r\n[Keys]\r\n" + keys +
         "[UIScan]\r\nEnable=1\r\n";
}

TEST(Controls, ChangesApplyWhileTheGameRunsAndAnAssignmentOutlivesAnOlderCopy) {
  Scenario s = StandardScenario();
  s.WriteIni("[General]\nIsDebug=1\nApplyChanges=1\n[Slots]\nY=5000\n");
  s.WriteFile("resources/bg.png", SolidPng(16, 16, {200, 0, 0, 255}));
  s.WriteFile("edit1.ini", EditedIni("Y=7300\r\n", "B=F3\r\n"));
  // Copies keep their source's write time: the sizes tell these apart.
  s.WriteFile("edit2.ini", EditedIni("Y=7300\r\n", "B=F4\r\n") + "; saved again\r\n");
  // The editor still holds Y=7300 when the player saves it once more.
  s.WriteFile("edit3.ini", EditedIni("Y=7300\r\n", "B=F4\r\nX=F5\r\n"));
  s.Play(
      "own 5000 50\nown 5100 51\nown 7300 73\nequipped 50\nmenu activeOrHud 1\n"
      "menu loadingOrUi 1\nmenu postLoad 1\nwindow 1280 720\npad 0 0\n"
      "waitlog [Core] Initialization OK\n"
      // Slots, keys, overlay, panel and a key that waits for a restart.
      "copyfile edit1.ini artwheel.ini\nwaitlog [Config] Reloaded from\n"
      "waitlog [Overlay] SkillPanel resolution=\n"
      "untilpixel 1191 598 133 26 38\nscreenshot panel\n" +
      Probe("panel", 1191, 598) +
      "presspad 0x8002 equip\nkey F3 down\nwaitlog [Input] Key F3 pressed\nkey F3 up\n"
      // An edit saved just before an assignment in the menu: both hold.
      "menu pauseMenu 2\nmenu selectedResolvedId 51\nwaitlog [Menu] Skill assignment mode ON\n"
      "copyfile edit2.ini artwheel.ini\npresspad 0x8002 [Skill] Assigned combat art id\n"
      "untilpixel 386 110 13 20 27\n" +  // probed in the frame that showed it
      Probe("message", 386, 110) +
      // Each copy after the read of the one before has ended: the keys' line
      // comes in the middle of a read.
      "menu pauseMenu 0\nwaitlog [Config] Keys: Y=- A=- B=F4 X=-\nwaitlogn 2 [Config] Reloaded "
      "from\n"
      "waitini Slots Y 5100\ncopyfile edit3.ini artwheel.ini\n"
      "waitlog [Config] Keys: Y=- A=- B=F4 X=F5\nwaitlogn 3 [Config] Reloaded from\n"
      "waitini Slots Y 5100\nequipped 73\npresspad 0x8002 equip\n");
  // Both switched on by the file while the game ran: neither was drawn before.
  const std::vector<std::string> log = s.LogMessages();
  const auto first = [&log](const std::string& prefix) {
    for (size_t i = 0; i < log.size(); ++i) {
      if (log[i].rfind(prefix, 0) == 0) return i;
    }
    return log.size();
  };
  EXPECT_LT(first("[Config] Reloaded from"), first("[Overlay] DXGI Present vtable hook installed"));
  EXPECT_TRUE(PixelNear(s, "panel", kBackground));
  EXPECT_TRUE(PixelNear(s, "message", kMessageBox));
  const std::vector<std::string> reloaded = s.MessagesStartingWith("[Config] Reloaded from");
  ASSERT_GE(reloaded.size(), 3u) << s.Log();
  EXPECT_NE(reloaded[0].find("; slots: Y=7300 A=0 B=0 X=0 Overlay=ON SkillPanel=ON UIScan=OFF"),
            std::string::npos)
      << reloaded[0];
  EXPECT_EQ(s.CountMessages("[Config] Changed keys that apply at the next start: [UIScan]"),
            static_cast<int>(reloaded.size()));
  EXPECT_EQ(s.CountMessages("[UIScan]"), 0);
  EXPECT_EQ(s.CountMessages("[Skill] Hotkey DPadDown+Y selected slot 0, combat art id 7300"), 1);
  EXPECT_EQ(s.CountMessages("[Skill] Hotkey DPadDown+B selected slot 2, combat art id 0"), 1);
  EXPECT_EQ(s.CountMessages("[Config] Slot 0 (Y) keeps combat art id 5100 assigned in the game "
                            "over 7300"),
            1)
      << s.Log();
  EXPECT_EQ(s.CountMessages("[Skill] Hotkey DPadDown+Y selected slot 0, combat art id 5100"), 1);
  EXPECT_NE(s.Ini().find("Y=5100"), std::string::npos);
}

}  // namespace
}  // namespace e2e
