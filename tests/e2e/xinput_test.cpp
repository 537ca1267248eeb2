#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "scenario.h"

namespace e2e {
namespace {

// The game's reads begin once the worker has redirected its imports and
// polled the pad.
constexpr char kHooked[] = "pad 0 0\nwaitlog [Input] Hooked 1 XInputGetState import(s)\npadseen\n";
constexpr char kIni[] = "[General]\nIsDebug=1\n[Slots]\nA=5100\n";

Scenario RunReads(const std::string& script) {
  return Played(kIni, std::string("own 5100 51\n") + kHooked + script);
}

// Which pads are filtered besides pad 0 is the controller choice's (e2e.Controller).
TEST(XInputFilter, TheGameDoesNotSeeTheCombinationButTheWorkerDoes) {
  const Scenario s = RunReads(
      "pad 0 0x1000\nread pad0\n"
      "pad 0 0x1002\nread downA\npad 0 0x1012\nread downAStart\n"
      "waitlog [Skill] Equip combat art id 5100\n");
  EXPECT_EQ(s.ButtonsRead("pad0"), "0x1000");
  EXPECT_EQ(s.ButtonsRead("downA"), "0x0000");
  EXPECT_EQ(s.ButtonsRead("downAStart"), "0x0010");
  EXPECT_EQ(s.CountMessages("[Skill] Equip combat art id 5100 OK"), 1);  // true buttons seen
  EXPECT_EQ(s.CountMessages("[Skill] Hotkey "), 1);
}

TEST(XInputFilter, ALoneFaceButtonIsHiddenUntil250msAfterTheLastArming) {
  const Scenario s = RunReads(
      "pad 0 0x1002\npadseen\npad 0 0\npadseen\npad 0 0x1000\nread soon\n"
      "pad 0 0\npadseen\n"
      // The window runs out 250 ms after the last arming: the read 300 ms
      // after the worker last saw the combination asserts that it did.
      "pad 0 0x1002\npadseen\npad 0 0\npadseen\nwait 300\npad 0 0x1000\nread later\n");
  EXPECT_EQ(s.ButtonsRead("soon"), "0x0000");
  EXPECT_EQ(s.ButtonsRead("later"), "0x1000");
}

TEST(XInputFilter, RunTimeLookupsOfXInputGetStateGetTheFilter) {
  const Scenario s = RunReads(
      "procaddr xinput1_4.dll XInputGetState exact\n"
      "procaddr kernel32.dll XInputGetState elsewhere\n"
      "procaddr xinput1_4.dll xinputgetstate lower\n"
      "procaddr xinput1_4.dll #2 ordinal\n"
      "procaddr xinput1_4.dll XInputSetState other\n");
  EXPECT_EQ(s.ResultsStartingWith("procaddr"),
            (std::vector<std::string>{"procaddr exact game:dinput8.dll",
                                      "procaddr elsewhere game:dinput8.dll", "procaddr lower null",
                                      "procaddr ordinal real", "procaddr other real"}));
}

TEST(XInputFilter, ALibraryImportingByOrdinalIsRedirectedByTheNextPeriodicRun) {
  Scenario s = StandardScenario();
  s.Install("ordinal_user.dll", "ordinal_user.dll");
  s.WriteIni(kIni);
  s.Play(std::string(kHooked) +
         "loaddll ordinal_user.dll\npad 0 0x1002\nreadvia ordinal_user.dll before\n"
         "waitlogn 2 [Input] Hooked 1 XInputGetState import(s)\n"
         "readvia ordinal_user.dll after\n");
  EXPECT_EQ(s.CountMessages("[Input] Hooked 1 XInputGetState import(s)"), 2) << s.Log();
  EXPECT_EQ(s.ResultsStartingWith("readvia after").at(0), "readvia after rc=0 buttons=0x0000");
}

TEST(XInputFilter, PeriodicRunsLogNothingNewAndRedirectOnce) {
  // Then three periodic runs (about a second apart) that log nothing new.
  const Scenario s =
      RunReads("dinput\nwaitlog [Input] Hooked 2 GetProcAddress import(s)\nwait 3500\n");
  EXPECT_EQ(s.CountMessages("[Input] Hooked 1 XInputGetState import(s)"), 1);
  EXPECT_EQ(s.CountMessages("[Input] XInputGetState IAT import not found yet"), 0);
  EXPECT_EQ(s.CountMessages("[Input] Hooked 1 XInputGetState"), 1);
  // The system dinput8.dll, loaded by the game's DirectInput8Create after the
  // first run, brings one more GetProcAddress import; nothing else is new.
  EXPECT_EQ(s.CountMessages("[Input] Hooked 1 GetProcAddress import(s)"), 1) << s.Log();
  EXPECT_EQ(s.CountMessages("[Input] Hooked 2 GetProcAddress import(s)"), 1) << s.Log();
}

}  // namespace
}  // namespace e2e
