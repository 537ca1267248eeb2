#include <gtest/gtest.h>

#include <string>

#include "scenario.h"

namespace e2e {
namespace {

// In play at the size with the panel on; ends a few frames after its first
// resolution line.
Scenario RunWithPanel(const std::string& size, const std::string& script) {
  Scenario s =
      Played("[General]\nIsDebug=1\n[Slots]\nB=7300\n[Overlay]\nEnable=1\n[SkillPanel]\nEnable=1\n",
             "own 7300 73\nequipped 73\nmenu activeOrHud 1\nmenu loadingOrUi 1\n"
             "menu postLoad 1\nwindow " +
                 size + "\npad 0 0\nwaitlog [Overlay] SkillPanel resolution=\nframes 2\n" + script);
  EXPECT_NE(s.ResultsStartingWith("render").at(0).find("state_mismatches=0 present_failures=0"),
            std::string::npos)
      << s.Read("results.txt");
  return s;
}

// The scenarios of the DXVK run are worth something only if the game's
// Direct3D really is DXVK's: d3d11.dll and the swap chain's methods in the
// system folder's native libraries, not Wine's own. And the overlay's hook,
// set through a swap chain of its own device, must reach the game's.
TEST(OverlayStack, TheGamesDirect3DIsTheStacksAndThePresentHookReachesIt) {
  const Scenario s = RunWithPanel("1280 720", "d3dmodules\n");
  const std::string builtin = D3DStack() == "dxvk" ? "0" : "1";
  const std::vector<std::string> expected = {
      "d3dmodule d3d11 system:d3d11.dll wine_builtin=" + builtin,
      "d3dmodule present game:dinput8.dll wine_builtin=0",
      "d3dmodule getbuffer system:dxgi.dll wine_builtin=" + builtin,
  };
  EXPECT_EQ(s.ResultsStartingWith("d3dmodule"), expected) << D3DStack();
}

// DXGI sizes a swap chain asked for 0 x 0 after its window and leaves open what
// a window without area gives: Wine's own makes 8 x 8 buffers, DXVK a 1 x 1
// buffer described as 0 x 0, which the overlay draws at its 1280 x 720
// fallback. Either way the game's frames go through with its state kept.
TEST(OverlayStack, AWindowWithoutAreaIsPresentedThroughWithTheGamesStateKept) {
  const Scenario s = RunWithPanel("0 0", "");
  const std::string window = s.ResultsStartingWith("window ").at(0).substr(7);
  const auto resolution = s.MessagesStartingWith("[Overlay] SkillPanel resolution=");
  ASSERT_EQ(resolution.size(), 1u) << s.Log();
  EXPECT_TRUE(resolution[0] == "[Overlay] SkillPanel resolution=" + window + " profile=<none>" ||
              resolution[0] == "[Overlay] SkillPanel resolution=1280x720 profile=1280x720")
      << resolution[0] << " for a buffer of " << window;
}

}  // namespace
}  // namespace e2e
