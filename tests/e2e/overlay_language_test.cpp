#include <gtest/gtest.h>

#include <string>

#include "scenario.h"

namespace e2e {
namespace {

// The player's language from artwheel.ini reaches the message on screen: the
// overlay logs the font it found for it in the game's Wine environment (the
// setup's CJK font), and a Language changed while the game runs applies at the
// reload to the next message. The log itself stays English.
TEST(OverlayLanguage, TheMessageIsDrawnInTheChosenLanguageAndFollowsAReload) {
  Scenario s = StandardScenario();
  s.WriteIni(
      "[General]\nIsDebug=1\nApplyChanges=1\nLanguage=zh-Hans\n[Slots]\nB=7300\n"
      "[Overlay]\nEnable=1\n");
  const std::string assignB =
      "menu pauseMenu 2\nmenu selectedResolvedId 73\npadseen\npad 0 0x2002\n"
      "waitlogn 1 [Skill] Assigned combat art id\npad 0 0\n";
  s.Play(
      "own 7300 73\nequipped 73\nmenu activeOrHud 1\nmenu loadingOrUi 1\nmenu postLoad 1\n"
      "window 1920 1080\npad 0 0\nwaitlog [Core] Initialization OK\n" +
      assignB + "waitlog [Overlay] Texts in zh-Hans are drawn with the font\n" +
      // The reloaded language is handed over before that line is written.
      "inikey General Language ja\nwaitlog [Config] Reloaded from\n" +
      "pad 0 0x2002\nwaitlogn 2 [Skill] Assigned combat art id\npad 0 0\n" +
      "waitlog [Overlay] Texts in ja are drawn with the font\nexit 0\n");
  EXPECT_EQ(s.CountMessages("[Overlay] Texts in zh-Hans are drawn with the font WenQuanYi Micro "
                            "Hei"),
            1)
      << s.Log();
  EXPECT_EQ(s.CountMessages("[Overlay] Texts in ja are drawn with the font WenQuanYi Micro Hei"),
            1);
  EXPECT_EQ(s.CountMessages("[Skill] Assigned combat art id 7300 (resolved 73) to slot 2 "
                            "(DPadDown+B)"),
            2);
  EXPECT_EQ(s.Log().find("drawn in English"), std::string::npos);
}

}  // namespace
}  // namespace e2e
