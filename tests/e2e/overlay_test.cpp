#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "png_file.h"
#include "scenario.h"

namespace e2e {
namespace {

// The game's frame is flat (32, 64, 96). The test images are solid: a red
// background drawn at 60% over it, a green 7300 icon and a blue 5100 icon.
constexpr Rgb kClear{32, 64, 96};
constexpr Rgb kBackground{133, 26, 38};  // 0.6 * (200, 0, 0) + 0.4 * clear
constexpr Rgb kGreen{0, 255, 0};
constexpr Rgb kBlue{0, 0, 255};
constexpr Rgb kMessageBox{13, 20, 27};  // (10, 12, 14) at 216/255 over clear

constexpr char kInGame[] =
    "own 7300 73\nown 5100 51\nequipped 73\n"
    "menu activeOrHud 1\nmenu loadingOrUi 1\nmenu postLoad 1\n";

struct OverlaySetup {
  std::string ini =
      "[General]\nIsDebug=1\n[Slots]\nB=7300\n[Overlay]\nEnable=1\n[SkillPanel]\nEnable=1\n";
  bool background = true;
};

Scenario MakeOverlayScenario(const OverlaySetup& setup = {}) {
  Scenario s = StandardScenario();
  s.WriteIni(setup.ini);
  if (setup.background) s.WriteFile("resources/bg.png", SolidPng(16, 16, {200, 0, 0, 255}));
  s.WriteFile("resources/7300.png", SolidPng(8, 8, {0, 255, 0, 255}));
  s.WriteFile("resources/5100.png", SolidPng(8, 8, {0, 0, 255, 255}));
  return s;
}

// Runs the script after the game's window is up at the size and the panel
// came up (the equipped art's icon may reach it a little later: a script that
// looks at the icon waits for it), or, with the panel off, after a time in
// which nothing of it comes up.
Scenario RunOverlay(const std::string& size, const std::string& script,
                    const OverlaySetup& setup = {}, const std::string& world = kInGame) {
  Scenario s = MakeOverlayScenario(setup);
  const bool panelWanted = setup.ini.find("[SkillPanel]\nEnable=1") != std::string::npos;
  s.Play(world + "window " + size + "\npad 0 0\nwaitlog [Core] Initialization OK\n" +
         (panelWanted ? "waitlog [Overlay] SkillPanel resolution=\nframes 2\n" : "wait 300\n") +
         script);
  EXPECT_EQ(s.ResultsStartingWith("render").at(0).find("state_mismatches=0 present_failures=0") !=
                std::string::npos,
            true)
      << s.Read("results.txt");
  return s;
}

struct Box {
  int left, top, right, bottom;  // right and bottom exclusive
};

// Probes two pixels inside each corner and two just outside.
std::string ProbeBox(const std::string& name, const Box& b) {
  return Probe(name + "_in_tl", b.left + 1, b.top + 1) +
         Probe(name + "_in_br", b.right - 2, b.bottom - 2) +
         Probe(name + "_out_tl", b.left - 2, b.top - 2) +
         Probe(name + "_out_br", b.right + 1, b.bottom + 1);
}

void ExpectBox(const Scenario& s, const std::string& name, const Rgb& inside, const Rgb& outside) {
  EXPECT_TRUE(PixelNear(s, name + "_in_tl", inside)) << name;
  EXPECT_TRUE(PixelNear(s, name + "_in_br", inside)) << name;
  EXPECT_TRUE(PixelNear(s, name + "_out_tl", outside)) << name;
  EXPECT_TRUE(PixelNear(s, name + "_out_br", outside)) << name;
}

// D-pad Down + B in the combat-art menu with the cursor on 7300, held until the
// scenario's nth assignment is logged: a worker starved by a busy machine or a
// software renderer may take longer than a short press.
std::string AssignB(int nth = 1) {
  return "menu pauseMenu 2\nmenu selectedResolvedId 73\npadseen\npad 0 0x2002\nwaitlogn " +
         std::to_string(nth) + " [Skill] Assigned combat art id\npad 0 0\nmenu pauseMenu 0\n";
}

// How long a message shows, and a second one restarting it, is checked under
// Wine (wine.OverlayStateTest); here each assignment posts its message. The
// message's probes are of the frame that showed it (untilpixel's last): a
// later screenshot on a busy machine may come after it is gone.
TEST(Overlay, AssignmentStoresTheArtAndShowsTheMessageFor2Seconds) {
  const Scenario s = RunOverlay(
      "1920 1080", AssignB() + "untilpixel 705 163 13 20 27\n" +
                       ProbeBox("message", {704, 162, 1216, 242}) +
                       "untilpixel 706 164 32 64 96\nscreenshot late\n" + Probe("gone", 706, 164) +
                       AssignB(2) + "untilpixel 706 164 13 20 27\n" + Probe("again", 706, 164));
  ExpectBox(s, "message", kMessageBox, kClear);
  EXPECT_TRUE(PixelNear(s, "gone", kClear));
  EXPECT_TRUE(PixelNear(s, "again", kMessageBox));
  EXPECT_EQ(
      s.CountMessages("[Skill] Assigned combat art id 7300 (resolved 73) to slot 2 (DPadDown+B)"),
      2);
  EXPECT_NE(s.Ini().find("B=7300\r\n"), std::string::npos);
  EXPECT_EQ(s.CountMessages("[Skill] Hotkey"), 0);  // assigned, not equipped
}

// With artwheel.ini held by another program the art is assigned for the
// session, and the log and the message say that it was not saved.
TEST(Overlay, AtASizeWithoutProfileOnlyTheMessageIsDrawn) {
  OverlaySetup held;
  held.ini = "[General]\nIsDebug=1\n[Slots]\nB=5100\n[Overlay]\nEnable=1\n[SkillPanel]\nEnable=1\n";
  const Scenario s =
      RunOverlay("1600 900",
                 "lockfile artwheel.ini\n" + AssignB() + "untilpixel 545 136 13 20 27\n" +
                     ProbeBox("message", {544, 135, 1056, 215}) + Probe("nopanel", 1500, 750),
                 held);
  ExpectBox(s, "message", kMessageBox, kClear);
  EXPECT_TRUE(PixelNear(s, "nopanel", kClear));
  EXPECT_EQ(s.CountMessages("[Overlay] SkillPanel resolution=1600x900 profile=<none>"), 1);
  EXPECT_EQ(s.MessagesStartingWith("[Skill] Could not save"),
            std::vector<std::string>{"[Skill] Could not save slot 2 (DPadDown+B) to artwheel.ini "
                                     "(error 32); it holds combat art id 7300 for this session "
                                     "only"});
  EXPECT_NE(s.Ini().find("\r\nB=5100\r\n"), std::string::npos) << s.Ini();
}

TEST(Overlay, MenuAndDialogHideThePanelAndRestartItsSettleTime) {
  // Probes inside the 1920 x 1080 background, outside the icon. The settling
  // screenshots are asked for 50 ms after the condition holds again, to see
  // that the panel does not come back within them: well inside the 350 ms,
  // whatever a busy machine adds before the next frame.
  const std::string hidden = "untilpixel 1787 897 32 64 96\n";
  const std::string back = "untilpixel 1787 897 133 26 38\n";
  const Scenario s = RunOverlay(
      "1920 1080",
      back + "menu pauseMenu 2\n" + hidden + "screenshot menu\n" + Probe("menu", 1787, 897) +
          "menu pauseMenu 0\nwait 50\nscreenshot settling\n" + Probe("settling", 1787, 897) + back +
          "screenshot back\n" + Probe("back", 1787, 897) + "menu dialog 1\n" + hidden +
          "menu dialog 0\nwait 50\nscreenshot dialog\n" + Probe("dialog", 1787, 897) + back +
          "screenshot again\n" + Probe("again", 1787, 897));
  EXPECT_TRUE(PixelNear(s, "menu", kClear));
  EXPECT_TRUE(PixelNear(s, "settling", kClear));
  EXPECT_TRUE(PixelNear(s, "back", kBackground));
  EXPECT_TRUE(PixelNear(s, "dialog", kClear));
  EXPECT_TRUE(PixelNear(s, "again", kBackground));
}

// Without an equipped art the background is drawn alone; a change of art
// reaches the panel, and switching its key off in the file hides it as soon
// as the worker has looked at the file.
TEST(Overlay, ThePanelFollowsTheEquippedArtAndItsKeyInTheFile) {
  const Scenario s =
      RunOverlay("1920 1080",
                 "untilpixel 1830 940 0 255 0\nscreenshot on\n" + Probe("on", 1830, 940) +
                     "equipped 0\nuntilpixel 1830 940 133 26 38\nscreenshot none\n" +
                     Probe("none", 1830, 940) +
                     "equipped 51\nuntilpixel 1830 940 0 0 255\nscreenshot changed\n" +
                     Probe("changed", 1830, 940) +
                     "inikey SkillPanel Enable 0\nuntilpixel 1830 940 32 64 96\nscreenshot off\n" +
                     Probe("off", 1830, 940));
  EXPECT_TRUE(PixelNear(s, "on", kGreen));
  EXPECT_TRUE(PixelNear(s, "none", kBackground));
  EXPECT_TRUE(PixelNear(s, "changed", kBlue));
  EXPECT_TRUE(PixelNear(s, "off", kClear));
}

// Without its background no part of the panel is drawn; an icon that cannot
// be loaded leaves the background alone (below).
TEST(Overlay, AMissingBackgroundSuppressesThePanel) {
  OverlaySetup noBackground;
  noBackground.background = false;
  const Scenario s =
      RunOverlay("1920 1080",
                 "waitlog [Overlay] Could not load texture\nframes 2\nscreenshot frame\n" +
                     Probe("icon", 1830, 940),
                 noBackground);
  EXPECT_TRUE(PixelNear(s, "icon", kClear));
  EXPECT_GE(s.CountMessages("[Overlay] Could not load texture " + s.WindowsDir() +
                            "\\resources\\bg.png: 0x"),
            1);
}

// A background that another program holds at the first frame is not logged
// as broken: it appears once it is free. A broken icon is tried and logged
// once, not on every frame; the good image the player puts in its place appears.
TEST(Overlay, AHeldBackgroundAppearsOnceFreeAndABrokenIconIsLoggedOnce) {
  Scenario s = MakeOverlayScenario();
  s.WriteFile("resources/7300.png", "\x89PNG\r\n\x1a\nthis is not an image");
  s.WriteFile("resources/good.png", SolidPng(8, 8, {0, 255, 0, 255}));
  s.Play(std::string(kInGame) +
         "lockfile resources\\bg.png exclusive\nwindow 1920 1080\npad 0 0\n"
         "waitlog [Overlay] SkillPanel resolution=\nframes 5\nscreenshot held\n" +
         Probe("held", 1787, 897) +
         "unlockfile resources\\bg.png\nwaitlog [Overlay] Could not load texture\n"
         "untilpixel 1830 940 133 26 38\nscreenshot broken\n" +
         Probe("broken", 1830, 940) +
         "copyfile resources\\good.png resources\\7300.png\nuntilpixel 1830 940 0 255 0\n"
         "screenshot good\n" +
         Probe("good", 1830, 940));
  EXPECT_EQ(s.ResultsStartingWith("lockfile").at(0), "lockfile resources\\bg.png ok");
  EXPECT_TRUE(PixelNear(s, "held", kClear));
  const std::string prefix = "[Overlay] Could not load texture " + s.WindowsDir() + "\\resources\\";
  EXPECT_EQ(s.CountMessages(prefix + "bg.png"), 0) << s.Log();
  const auto failures = s.MessagesStartingWith(prefix + "7300.png: 0x");
  ASSERT_EQ(failures.size(), 1u) << s.Log();
  EXPECT_EQ(failures[0].substr((prefix + "7300.png: 0x").size(), 1), "8") << failures[0];
  EXPECT_TRUE(PixelNear(s, "broken", kBackground));
  EXPECT_TRUE(PixelNear(s, "good", kGreen));
}

// Without the shader compiler, or with one that lacks its entry point, one
// line says so and nothing is drawn; the game goes on.
TEST(Overlay, WithoutTheShaderCompilerOneLineSaysTheOverlayIsOff) {
  Scenario missing = MakeOverlayScenario();
  missing.OverrideDll("d3dcompiler_47=");
  Scenario empty = MakeOverlayScenario();
  empty.Install("xinput1_4.dll", "D3DCOMPILER_47.dll");
  empty.OverrideDll("d3dcompiler_47=n");
  for (Scenario* s : {&missing, &empty}) {
    s->Play(std::string(kInGame) +
            "window 1920 1080\npad 0 0\n"
            "waitlog [Overlay] SkillPanel resolution=\nframes 30\nscreenshot frame\n" +
            Probe("panel", 1830, 940));
    EXPECT_TRUE(PixelNear(*s, "panel", kClear));
    EXPECT_EQ(s->ResultsStartingWith("render").at(0).find(
                  "state_mismatches=0 present_failures=0") != std::string::npos,
              true);
  }
  EXPECT_EQ(missing.CountMessages("[Overlay] Could not load D3DCOMPILER_47.dll (error "), 1)
      << missing.Log();
  EXPECT_EQ(empty.CountMessages("[Overlay] D3DCOMPILER_47.dll has no D3DCompile; overlay off"), 1)
      << empty.Log();
}

TEST(Overlay, WithBothSettingsOffNothingIsHookedOrDrawn) {
  OverlaySetup off;
  off.ini = "[General]\nIsDebug=1\n[Overlay]\nEnable=0\n[SkillPanel]\nEnable=0\n";
  const Scenario s = RunOverlay("1920 1080",
                                // Nothing is drawn within 200 ms of the assignment.
                                AssignB() + "wait 200\nscreenshot frame\n" +
                                    Probe("message", 706, 164) + Probe("panel", 1830, 940),
                                off);
  EXPECT_EQ(s.CountMessages("[Skill] Assigned combat art id 7300"), 1);
  EXPECT_EQ(s.CountMessages("[Overlay] DXGI Present vtable hook installed"), 0);
  EXPECT_TRUE(PixelNear(s, "message", kClear));
  EXPECT_TRUE(PixelNear(s, "panel", kClear));
}

// Also the 1280 x 720 profile's rectangles.
// That nothing of the overlay holds the back buffer between frames is checked
// under Wine (wine.OverlayFrame.NoBackBufferReferenceOrViewOutlivesTheFrame).
TEST(Overlay, ResizingWhileTheOverlayIsActiveSucceedsAndTheNextFrameUsesTheNewSize) {
  const Scenario s =
      RunOverlay("1920 1080", "window 1280 720\nuntilpixel 1199 606 0 255 0\nscreenshot small\n" +
                                  ProbeBox("panel", {1190, 597, 1250, 657}) +
                                  ProbeBox("icon", {1198, 605, 1242, 649}));
  EXPECT_EQ(s.ResultsStartingWith("resize").at(0), "resize 1280x720 hr=0x00000000");
  ExpectBox(s, "panel", kBackground, kClear);
  ExpectBox(s, "icon", kGreen, kBackground);
  EXPECT_EQ(s.CountMessages("[Overlay] SkillPanel resolution=1280x720 profile=1280x720"), 1);
}

// Another program presents a window of its own from a thread of its own,
// also first when the game drops its device and swap chain and makes new ones
// on its window: the panel stays on the game's window, nothing is drawn on the
// other, and neither the game's old device nor the other's is kept.
TEST(OverlayDevice, AnotherThreadsSwapChainIsLeftAloneAndTheGamesNewDeviceGetsThePanel) {
  std::string script =
      "seconddevice 1280 720\nframes 5\nscreenshot2 other0\n" + Probe("other0", 1220, 620) +
      "untilpixel 1830 940 0 255 0\nscreenshot first\n" + Probe("first", 1830, 940);
  script += "recreate\nuntilpixel 1830 940 0 255 0\nscreenshot round1\n" +
            Probe("panel1", 1830, 940) + "screenshot2 other1\n" + Probe("other1", 1220, 620) +
            "oldrefs round1\n";
  const Scenario s = RunOverlay("1920 1080", script + "secondstop\n");
  EXPECT_EQ(s.ResultsStartingWith("second").at(0), "second ready");
  EXPECT_EQ(s.ResultsStartingWith("recreate"), (std::vector<std::string>{"recreate ok"}));
  EXPECT_TRUE(PixelNear(s, "first", kGreen));
  EXPECT_TRUE(PixelNear(s, "other0", kClear));
  EXPECT_TRUE(PixelNear(s, "panel1", kGreen));
  EXPECT_TRUE(PixelNear(s, "other1", kClear));
  EXPECT_EQ(s.ResultsStartingWith("oldrefs").at(0), "oldrefs round1 0");
  EXPECT_EQ(s.ResultsStartingWith("secondrefs").at(0), "secondrefs 0");
  EXPECT_EQ(s.CountMessages("[Overlay] Game swap chain released; overlay objects released with it"),
            1);
}

// Shaders the device refuses are tried once on it, not on every frame, and
// said once; the game's next device draws.
TEST(OverlayDevice, RefusedShadersAreTriedOncePerDevice) {
  Scenario refused = MakeOverlayScenario();
  refused.Play("refuseshaders on\n" + std::string(kInGame) +
               "window 1920 1080\npad 0 0\nwaitlog [Overlay] Shader resource creation failed\n"
               "frames 30\nscreenshot off\n" +
               Probe("off", 1830, 940) +
               "refuseshaders off\nrecreate\nuntilpixel 1830 940 0 255 0\nscreenshot on\n" +
               Probe("on", 1830, 940));
  EXPECT_EQ(refused.ResultsStartingWith("refuseshaders").at(1), "refuseshaders off refused=1");
  EXPECT_TRUE(PixelNear(refused, "off", kClear));
  EXPECT_TRUE(PixelNear(refused, "on", kGreen));
  EXPECT_EQ(refused.CountMessages("[Overlay] Shader resource creation failed: 0x8007000E"), 1)
      << refused.Log();
}

// A lost device: nothing more is drawn on it, one line says so, and the device
// the game makes next gets the panel.
TEST(OverlayDevice, ALostDeviceIsLeftAndTheNextOneDrawn) {
  Scenario s = MakeOverlayScenario();
  s.Play("faultypresent\nwindow 1920 1080\n" + std::string(kInGame) +
         "pad 0 0\nwaitlog [Overlay] SkillPanel resolution=\nuntilpixel 1830 940 0 255 0\n"
         "screenshot before\n" +
         Probe("before", 1830, 940) + "failpresent 0x887A0005 3\nframes 3\nscreenshot lost\n" +
         Probe("lost", 1830, 940) +
         "failpresent 0x887A0007 2\nrecreate\nuntilpixel 1830 940 0 255 0\nscreenshot new\n" +
         Probe("new", 1830, 940) + "oldrefs lost\n");
  EXPECT_TRUE(PixelNear(s, "before", kGreen));
  EXPECT_TRUE(PixelNear(s, "lost", kClear));
  EXPECT_TRUE(PixelNear(s, "new", kGreen));
  EXPECT_EQ(s.ResultsStartingWith("oldrefs").at(0), "oldrefs lost 0");
  EXPECT_EQ(s.CountMessages("[Overlay] Device lost (0x887A0005); nothing more is drawn on it"), 1);
  EXPECT_EQ(s.CountMessages("[Overlay] Device lost"), 1);
}

// In the top left corner, with two slots filled: held D-pad Down shows the
// wheel in play and in the combat-art menu, where an assignment appears in
// it at once; a new device frees the wheel's icons with the rest. Wheel
// slot centres: Y (239, 73), A (239, 207), B (306, 140), X (172, 140).
TEST(OverlayWheel, ShowsTheSlotsWhileDpadDownIsHeldInPlayAndWhileTheMenuIsOpen) {
  OverlaySetup setup;
  setup.ini =
      "[General]\nIsDebug=1\n[Slots]\nY=5100\nB=7300\n[Overlay]\nEnable=1\n[SkillPanel]\n"
      "Enable=1\nCorner=TopLeft     ; in from the left edge, down from the top of the picture\n"
      "ShowSlots=1\nOffsetY=abc\nOpacity=5 ; too faint\n";
  // Each step waits for what it shows: the worker's tick and the next frame.
  const std::string held = "pad 0 0x0002\nuntilpixel 239 73 0 0 255\n";
  const Scenario s = RunOverlay(
      "1920 1080",
      "untilpixel 90 140 0 255 0\nscreenshot play\n" + Probe("panel", 90, 140) +
          Probe("idle", 239, 73) + held + "screenshot held\n" + Probe("y", 239, 73) +
          Probe("a", 239, 207) + Probe("b", 306, 140) + Probe("bmark", 278, 112) +
          Probe("x", 172, 140) + "pad 0 0\nuntilpixel 239 73 32 64 96\n" + "screenshot released\n" +
          Probe("released", 239, 73) +
          "menu pauseMenu 2\nmenu selectedResolvedId 51\nuntilpixel 239 73 0 0 255\n"
          "untilpixel 90 140 32 64 96\nscreenshot open\n" +
          Probe("open", 239, 73) + held + "screenshot menu\n" + Probe("menupanel", 90, 140) +
          Probe("menuy", 239, 73) +
          "pad 0 0x1002\nwaitlog [Skill] Assigned combat art id 5100\nuntilpixel 239 207 0 0 255\n"
          "screenshot assigned\n" +
          Probe("assigned", 239, 207) + "pad 0 0\nmenu pauseMenu 0\nrecreate\nframes 3\n" +
          "oldrefs wheel\n",
      setup);
  EXPECT_TRUE(PixelNear(s, "panel", kGreen));
  EXPECT_TRUE(PixelNear(s, "idle", kClear));
  EXPECT_TRUE(PixelNear(s, "y", kBlue));
  EXPECT_TRUE(PixelNear(s, "a", {82, 45, 67}));  // empty: the background at 30%
  EXPECT_TRUE(PixelNear(s, "b", kGreen));
  EXPECT_TRUE(PixelNear(s, "bmark", {183, 6, 10}));  // equipped: at 90%
  EXPECT_TRUE(PixelNear(s, "x", {82, 45, 67}));
  EXPECT_TRUE(PixelNear(s, "released", kClear));
  EXPECT_TRUE(PixelNear(s, "menupanel", kClear));
  EXPECT_TRUE(PixelNear(s, "open", kBlue));  // the menu alone shows the wheel
  EXPECT_TRUE(PixelNear(s, "menuy", kBlue));
  EXPECT_TRUE(PixelNear(s, "assigned", kBlue));
  EXPECT_EQ(s.ResultsStartingWith("oldrefs").at(0), "oldrefs wheel 0");
  EXPECT_EQ(s.CountMessages("[Config] SkillPanel OffsetY=abc is not valid (-10000 to 10000 "
                            "pixels at 1080p); the default 0 holds"),
            1)
      << s.Log();
  EXPECT_EQ(s.CountMessages("[Config] SkillPanel Opacity=5 is not valid (10 to 100); the "
                            "default 100 holds"),
            1);
  EXPECT_EQ(s.CountMessages("[Overlay] SkillPanel resolution=1920x1080 profile=1920x1080; placed: "
                            "TopLeft, scale 1.000, offset 0,0, opacity 100%, panel 45,95 to "
                            "135,185"),
            1);
}

// Drawing: the panel, the message and the wheel (D-pad Down held).
TEST(OverlayCost, DrawingFramesAllocateNothingOnceTheirObjectsExist) {
  OverlaySetup wheel;
  wheel.ini += "ShowSlots=1\n";
  const Scenario s =
      RunOverlay("1920 1080",
                 "countallocs\nequipped 51\nuntilpixel 1830 940 0 0 255\nframes 2\n"
                 "allocs newicon\n" +
                     AssignB() +
                     // The wheel comes with the panel, once the menu's settle time is
                     // over; its B slot (7300) left of the panel.
                     "pad 0 0x0002\nuntilpixel 1748 940 0 255 0\nframes 2\ncountallocs\n"
                     "frames 120\nallocs drawing\npad 0 0\n"
                     // In the menu the wheel shows alone, once the message is gone.
                     "menu pauseMenu 2\nuntilpixel 706 164 32 64 96\nuntilpixel 1748 940 0 255 0\n"
                     "countallocs\nframes 60\nallocs idle\n",
                 wheel);
  const auto counting = s.ResultsStartingWith("allocations counting");
  ASSERT_FALSE(counting.empty());
  EXPECT_NE(counting[0], "allocations counting imports=0");  // the counters are in place
  // Loading a new icon allocates its pixels once: the counter sees our allocations.
  EXPECT_NE(s.ResultsStartingWith("allocations newicon").at(0), "allocations newicon 0");
  EXPECT_EQ(s.ResultsStartingWith("allocations drawing").at(0), "allocations drawing 0");
  EXPECT_EQ(s.ResultsStartingWith("allocations idle").at(0), "allocations idle 0");
}

}  // namespace
}  // namespace e2e
