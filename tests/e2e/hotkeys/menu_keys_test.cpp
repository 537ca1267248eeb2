// The settings menu from the keyboard: [Keys] Menu opens it, the arrows and
// Enter change a value, Esc closes it, and the game's DirectInput keyboard
// sees none of these keys meanwhile.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "../scenario.h"

namespace e2e {
namespace {

// Bytes of a 256-byte keyboard read, as "Down F11 W Esc".
std::string Keys(const Scenario& s, const std::string& label) {
  const std::string hex = s.DeviceBytesRead(label);
  if (hex == "missing") return hex;
  auto byte = [&hex](size_t at) { return hex.substr(2 * at, 2); };
  return byte(0xD0) + " " + byte(0x57) + " " + byte(0x11) + " " + byte(0x01);
}

std::string Tap(const std::string& key) {
  return "key " + key + " down\npadseen\nkey " + key + " up\npadseen\n";
}

TEST(MenuKeys, TheMenuKeyOpensTheArrowsAndEnterChangeEscClosesAndTheGameSeesNoneOfThem) {
  Scenario s = StandardScenario();
  s.Install("chain_provider.dll", "other.dll");
  s.WriteIni(
      "[General]\nIsDebug=1\n[Chainload]\nchainDInput8dllPath=other.dll\n[Menu]\nEnable=1\n"
      "[Keys]\nMenu=F11\n");
  s.Play(
      "pad 0 off\nwindow 1280 800\ndinput\ndevice kb keyboard\nformat kb keyboard\n"
      "waitlog [Core] Initialization OK\npadseen\n"
      "key F11 down\nwaitlog [Menu] Opened\nkey F11 up\npadseen\n"
      "devbyte 0xD0 0x80\ndevbyte 0x57 0x80\ndevbyte 0x11 0x80\ngetstate kb 256 open\n"
      "devevent 0xD0 0x80\ndevevent 0x11 0x80\ngetdata kb 4 24 open\n" +
      Tap("Down") + Tap("Right") + Tap("Enter") +  // Held button: D-pad Up, then Left
      "devclear\nkey Esc down\nwaitlog [Menu] Closed\ngetstate kb 256 closing\n"
      "key Esc up\npadseen\ngetstate kb 256 released\n"
      "waitini Combination Modifier DPadLeft\n");
  EXPECT_EQ(Keys(s, "open"), "00 00 80 00");
  const auto events = s.ResultsStartingWith("getdata open ");
  ASSERT_EQ(events.size(), 1u);
  EXPECT_NE(events[0].find("n=1 events=17:128@"), std::string::npos) << events[0];
  // The fake keyboard reports 0x5A for Esc's byte: hidden while Esc is down,
  // the device's own again once it is let go.
  EXPECT_EQ(Keys(s, "closing"), "00 00 00 00");
  EXPECT_EQ(Keys(s, "released"), "00 00 00 5a");
  EXPECT_EQ(s.MessagesStartingWith("[Menu] Closed"),
            std::vector<std::string>{
                "[Menu] Closed; saved to artwheel.ini: [Combination] Modifier=DPadLeft"});
}

}  // namespace
}  // namespace e2e
