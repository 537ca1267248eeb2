#include <gtest/gtest.h>

#include <cctype>
#include <string>

#include "png_file.h"
#include "scenario.h"

namespace e2e {
namespace {

// The game's dinput8.dll is the stand-in loader of our test set, serving
// scripted devices; artwheel is mods\artwheel.dll with its settings beside it.
Scenario WithLoader(const std::string& loaderIni, const std::string& artwheelIni) {
  Scenario s;
  s.InstallGame();
  s.InstallXInput("xinput1_4.dll");
  s.Install("stand_in_loader.dll", "dinput8.dll");
  s.InstallProduct("mods/artwheel.dll");
  s.WriteFile("loader.ini", loaderIni);
  s.WriteFile("mods/artwheel.ini", artwheelIni);
  return s;
}

std::string Lower(std::string text) {
  for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return text;
}

// The line saying how DirectInput was reached; the loader's file name is
// spelled as the game's import names it.
void ExpectReachedThroughTheLoader(const Scenario& s) {
  const auto lines = s.MessagesStartingWith("[Input] Not the game's dinput8.dll");
  ASSERT_EQ(lines.size(), 1u) << s.Log();
  EXPECT_EQ(Lower(lines[0]),
            Lower("[Input] Not the game's dinput8.dll; reached DirectInput through objects of its "
                  "own from " +
                  s.WindowsDir() +
                  "\\dinput8.dll (CreateDevice ANSI redirected, wide shares the other's table; "
                  "devices: keyboard yes, joystick yes)"));
}

// Hat 0 down with button 0, read in the fixed joystick layout.
constexpr char kHatDownAndButton[] =
    "devdword 0x20 18000\ndevbyte 0x30 0x80\ngetstate joy 80 dinput\n";

void ExpectHatDownAndButtonHidden(const Scenario& s) {
  const auto lines = s.ResultsStartingWith("getstate dinput ");
  ASSERT_EQ(lines.size(), 1u) << s.Read("results.txt");
  const std::string bytes = lines[0].substr(lines[0].find("bytes=") + 6);
  EXPECT_EQ(bytes.substr(2 * 0x20, 8), "ffffffff") << lines[0];  // hat centred
  EXPECT_EQ(bytes.substr(2 * 0x30, 2), "00") << lines[0];        // button released
}

// Loaded from the loader's list at its own load, before the game made its
// devices, and freed by the loader right after: the library stays, the
// combination is hidden through XInput and DirectInput, an assignment lands
// in the artwheel.ini beside artwheel.dll, the panel shows.
TEST(BesideALoader, LoadedFromItsListBeforeTheGamesDevices) {
  Scenario s = WithLoader("[Loader]\nLoad=mods\\artwheel.dll\nFree=1\n",
                          "[General]\nIsDebug=1\n[Overlay]\nEnable=1\n[SkillPanel]\nEnable=1\n");
  s.WriteFile("mods/resources/bg.png", SolidPng(16, 16, {200, 0, 0, 255}));
  s.WriteFile("mods/resources/7300.png", SolidPng(8, 8, {0, 255, 0, 255}));
  s.Play(
      "own 7300 73\nmenu activeOrHud 1\nmenu loadingOrUi 1\nmenu postLoad 1\nwindow 1366 768\n"
      "pad 0 0\nwaitlog [Input] Not the game's dinput8.dll\nwaitlog [Input] Hooked 1 "
      "XInputGetState\n"
      "dinput\ndevice joy joystick\nformat joy joystick\n"
      "menu pauseMenu 2\nmenu selectedResolvedId 73\npad 0 0x2002\nread combo\n" +
      std::string(kHatDownAndButton) +
      "waitlog [Skill] Assigned combat art id\npad 0 0\nmenu pauseMenu 0\nequipped 73\n"
      "waitlog [Overlay] SkillPanel resolution=\nuntilpixel 1304 666 0 255 0\nscreenshot panel\n" +
      Probe("icon", 1304, 666));
  EXPECT_EQ(s.Read("loader.txt"), "load mods\\artwheel.dll ok\nfree mods\\artwheel.dll ok\n");
  EXPECT_EQ(s.CountMessages("[Core] Loaded as artwheel.dll (not the process's dinput8.dll)"), 1)
      << s.Log();
  ExpectReachedThroughTheLoader(s);
  EXPECT_EQ(s.CountMessages("[Input] Hooked DirectInput8 CreateDevice"), 0);
  EXPECT_EQ(s.ResultsStartingWith("read combo").at(0), "read combo pad=0 rc=0 buttons=0x0000");
  ExpectHatDownAndButtonHidden(s);
  EXPECT_NE(s.Read("mods/artwheel.ini").find("B=7300\r\n"), std::string::npos);
  EXPECT_FALSE(s.Exists("artwheel.ini"));
  EXPECT_TRUE(PixelNear(s, "icon", {0, 255, 0}));
}

// Loaded after the game made its joystick and set its format: that device is
// filtered too, in the fixed joystick layout.
TEST(BesideALoader, LoadedAfterTheGamesDevicesGotTheirFormat) {
  Scenario s =
      WithLoader("[Loader]\nLoad=mods\\artwheel.dll\nWhen=format\n", "[General]\nIsDebug=1\n");
  s.Play(
      "pad 0 0\ndinput\ndevice joy joystick\nformat joy joystick\n"
      "waitlog [Input] Not the game's dinput8.dll\n" +
      std::string(kHatDownAndButton));
  EXPECT_EQ(s.Read("loader.txt"), "load mods\\artwheel.dll ok\n");
  ExpectReachedThroughTheLoader(s);
  ExpectHatDownAndButtonHidden(s);
}

// The loader chains its export to artwheel: today's path, nothing of its own.
// Objects of its own would have come through the loader's export, each call
// one more line in loader.txt.
TEST(BesideALoader, ChainedToByTheLoadersChainSetting) {
  Scenario s = WithLoader("[Loader]\nChain=mods\\artwheel.dll\n", "[General]\nIsDebug=1\n");
  s.Play(
      "pad 0 0\ndinput\nwaitlog [Core] Game:\ndevice kb keyboard\n"
      "waitlog [Input] DirectInput device hooks installed\n");
  EXPECT_EQ(s.Read("loader.txt"), "chain mods\\artwheel.dll ok\n");
  EXPECT_EQ(s.CountMessages("[Core] Loaded as artwheel.dll (not the process's dinput8.dll)"), 1)
      << s.Log();
  EXPECT_EQ(s.CountMessages("[Input] Not the game's dinput8.dll"), 0);
}

}  // namespace
}  // namespace e2e
