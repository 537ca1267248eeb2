#include <gtest/gtest.h>

#include <string>

#include "scenario.h"

namespace e2e {
namespace {

// The scenarios of the DXVK run are worth something only if the game's
// Direct3D really is DXVK's: d3d11.dll and the swap chain's methods in the
// system folder's native libraries, not Wine's own. And the overlay's hook,
// set through a swap chain of its own device, must reach the game's.
TEST(OverlayStack, TheGamesDirect3DIsTheStacksAndThePresentHookReachesIt) {
  Scenario s = StandardScenario();
  s.WriteIni(
      "[General]\nIsDebug=1\n[Slots]\nB=7300\n[Overlay]\nEnable=1\n[SkillPanel]\nEnable=1\n");
  s.WriteScript(
      "own 7300 73\nequipped 73\nmenu activeOrHud 1\nmenu loadingOrUi 1\nmenu postLoad 1\n"
      "window 1280 720\npad 0 0\nwaitlog [Overlay] DXGI Present vtable hook installed\n"
      "frames 2\nd3dmodules\nexit 0\n");
  ASSERT_EQ(s.Run(), 0) << s.Read("stdout.txt");
  const std::string builtin = D3DStack() == "dxvk" ? "0" : "1";
  const std::string expected[] = {
      "d3dmodule d3d11 system:d3d11.dll wine_builtin=" + builtin,
      "d3dmodule present game:dinput8.dll wine_builtin=0",
      "d3dmodule getbuffer system:dxgi.dll wine_builtin=" + builtin,
  };
  EXPECT_EQ(s.ResultsStartingWith("d3dmodule"), std::vector<std::string>(expected, expected + 3))
      << D3DStack();
}

}  // namespace
}  // namespace e2e
