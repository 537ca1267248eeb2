// The settings menu: opened with the pad's chord, walked and changed, drawn
// over the game, saved at its close, and never seen by the game.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "png_file.h"
#include "scenario.h"

namespace e2e {
namespace {

// The game's frame is flat (32, 64, 96); the panel's red background at 60 %
// over it; the menu's (10, 12, 14) and its marked row's (40, 92, 156), and
// the message box, at their own alpha over it.
constexpr Rgb kPanel{133, 26, 38};
constexpr Rgb kMenu{12, 17, 22};
constexpr Rgb kMarkedRow{39, 89, 150};
constexpr Rgb kMessageBox{13, 20, 27};

constexpr char kInGame[] =
    "own 5000 50\nequipped 50\nmenu activeOrHud 1\nmenu loadingOrUi 1\nmenu postLoad 1\n";

// The left stick's X and Y, hat 0 and buttons 0 to 7 of a DIJOYSTATE read,
// as "x y hat b0 ... b7".
std::string Joy(const Scenario& s, const std::string& label) {
  const std::string hex = s.DeviceBytesRead(label);
  if (hex == "missing") return hex;
  auto byte = [&hex](size_t at) { return hex.substr(2 * at, 2); };
  auto dword = [&byte](size_t at) { return byte(at + 3) + byte(at + 2) + byte(at + 1) + byte(at); };
  std::string text = dword(0x00) + " " + dword(0x04) + " " + dword(0x20);
  for (size_t button = 0; button < 8; ++button) text += " " + byte(0x30 + button);
  return text;
}

// One press of the pad's buttons, seen by the worker down and up again.
std::string Press(const std::string& buttons, int times = 1) {
  std::string script;
  for (int i = 0; i < times; ++i) script += "pad 0 " + buttons + "\npadseen\npad 0 0\npadseen\n";
  return script;
}

TEST(OverlayMenu, TheChordOpensItAChangeMovesThePanelAtOnceAndIsSavedAtItsClose) {
  Scenario s = StandardScenario();
  s.Install("chain_provider.dll", "other.dll");
  s.WriteIni(
      "[General]\nIsDebug=1\n[Chainload]\nchainDInput8dllPath=other.dll\n[Overlay]\nEnable=1\n"
      "[SkillPanel]\nEnable=1\n[Menu]\nEnable=1\n");
  s.WriteFile("resources/bg.png", SolidPng(16, 16, {200, 0, 0, 255}));
  s.Play(std::string(kInGame) +
         "window 1920 1080\npad 0 0\ndinput\ndevice joy joystick\nformat joy joystick\n"
         "waitlog [Core] Initialization OK\nuntilpixel 1790 900 133 26 38\n"
         // D-pad Down + Back let go before the hold: nothing opens.
         "pad 0 0x0022\nread short\nwait 700\npad 0 0\npadseen\n"
         "pad 0 0x0022\nwaitlog [Menu] Opened\nread chord\npad 0 0\npadseen\n" +
         Press("0x0002", 5) +  // down to Corner
         // Left, from Bottom right round to Top left; the game's reads meanwhile.
         "pad 0 0x0004\npadseen\nread open\ndevdword 0x20 9000\ndevbyte 0x35 0x80\n"
         "devdword 0x00 0\ndevdword 0x04 65535\n"  // the left stick pushed down-left
         "getstate joy 80 open\npad 0 0\npadseen\n"
         "untilpixel 90 140 133 26 38\nscreenshot menu_open\n" +
         Probe("panel", 90, 140) + Probe("menu", 640, 700) + Probe("marked", 1306, 522) +
         // B closes; while it is down the game sees it through neither door.
         "devclear\ndevdword 0x20 0xFFFFFFFF\ndevbyte 0x31 0x80\npad 0 0x2000\nwaitlog [Menu] "
         "Closed\nread closing\n"
         "getstate joy 80 closing\npad 0 0\npadseen\ngetstate joy 80 released\n"
         "pad 0 0x2000\nread again\npad 0 0\nwaitini SkillPanel Corner TopLeft\n"
         // Another program holds the file: the change holds, the save says it failed.
         "lockfile artwheel.ini\npad 0 0x0022\nwaitlogn 2 [Menu] Opened\npad 0 0\npadseen\n" +
         Press("0x0002", 7) + Press("0x0004") +  // Opacity 100 -> 90
         Press("0x2000") +
         "waitlog [Menu] Closed; could not save\n"
         "untilpixel 706 164 13 20 27\n");
  // The shorter press and the chord are hidden from the game, and open nothing early.
  EXPECT_EQ(s.ButtonsRead("short"), "0x0000");
  EXPECT_EQ(s.ButtonsRead("chord"), "0x0000");
  EXPECT_EQ(s.CountMessages("[Menu] Opened"), 2) << s.Log();
  // Open: the pad's reads are neutral through XInput and the DirectInput
  // joystick, its sticks at the middle of their range.
  EXPECT_EQ(s.ButtonsRead("open"), "0x0000");
  EXPECT_EQ(Joy(s, "open"), "00007fff 00007fff ffffffff 00 00 00 00 00 00 00 00");
  EXPECT_TRUE(PixelNear(s, "panel", kPanel));
  EXPECT_TRUE(PixelNear(s, "menu", kMenu));
  EXPECT_TRUE(PixelNear(s, "marked", kMarkedRow));
  // Closed with B still down: no press reaches the game until it is let go.
  EXPECT_EQ(s.ButtonsRead("closing"), "0x0000");
  EXPECT_EQ(Joy(s, "closing"), "00007fff 00007fff ffffffff 00 00 00 00 00 00 00 00");
  EXPECT_EQ(Joy(s, "released"), "00000000 00000000 ffffffff 00 80 00 00 00 00 00 00");
  EXPECT_EQ(s.ButtonsRead("again"), "0x2000");
  EXPECT_EQ(s.MessagesStartingWith("[Menu] Closed; saved"),
            std::vector<std::string>{"[Menu] Closed; saved to artwheel.ini: [SkillPanel] "
                                     "Corner=TopLeft"});
  const auto failed = s.MessagesStartingWith("[Menu] Closed; could not save");
  ASSERT_EQ(failed.size(), 1u) << s.Log();
  EXPECT_NE(failed[0].find("for this session only: [SkillPanel] Opacity=90"), std::string::npos)
      << failed[0];
  EXPECT_EQ(s.Ini().find("Opacity"), std::string::npos);
  EXPECT_EQ(s.CountMessages("[Skill] Hotkey"), 0);  // nothing the menu took acted as a slot
}

// The menu in the middle of the frame, its rows sized to the frame: at
// 1920 x 1080 and at a handheld's 1280 x 800, in Japanese, then in German
// once the Language item changed it (each is kept as a screenshot).
TEST(OverlayMenu, ItIsCentredAtEachSizeAndSpeaksTheLanguageChosenInIt) {
  Scenario s = StandardScenario();
  s.WriteIni("[General]\nIsDebug=1\nLanguage=ja\n[Menu]\nEnable=1\n");
  s.Play(
      "window 1920 1080\npad 0 0\nwaitlog [Core] Initialization OK\nframes 2\n"
      "screenshot game\n" +
      Probe("game", 640, 700) +
      "pad 0 0x0022\nwaitlog [Menu] Opened\npad 0 0\npadseen\n"
      "untilpixel 605 700 12 17 22\nscreenshot menu_ja_1920x1080\n"
      "countallocs\nframes 60\nallocs open\n"
      "window 1280 800\nuntilpixel 385 400 12 17 22\nscreenshot menu_ja_1280x800\n" +
      Press("0x0002", 9) + Press("0x0008", 6) +  // Language: ja -> de
      "frames 3\nscreenshot menu_de_1280x800\nwindow 1920 1080\n"
      "untilpixel 605 700 12 17 22\nscreenshot menu_de_1920x1080\n" +
      Probe("beside", 590, 700) + Press("0x2000") +
      "waitlog [Menu] Closed\nwaitini General Language de\n");
  EXPECT_TRUE(PixelNear(s, "game", Rgb{32, 64, 96}));
  EXPECT_EQ(s.ResultsStartingWith("allocations open").at(0), "allocations open 0");
  EXPECT_TRUE(PixelNear(s, "beside", Rgb{32, 64, 96}));
  EXPECT_EQ(
      s.MessagesStartingWith("[Menu] Closed"),
      std::vector<std::string>{"[Menu] Closed; saved to artwheel.ini: [General] Language=de"});
  for (const char* shot :
       {"menu_ja_1920x1080", "menu_ja_1280x800", "menu_de_1280x800", "menu_de_1920x1080"}) {
    EXPECT_TRUE(s.Exists(std::string(shot) + ".png")) << shot;
  }
}

}  // namespace
}  // namespace e2e
