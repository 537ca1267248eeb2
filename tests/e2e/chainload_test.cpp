#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "scenario.h"

namespace e2e {
namespace {

// The game creates its DirectInput interface `calls` times.
Scenario RunChain(const std::string& iniTail, const std::string& script = "dinput\n",
                  const std::vector<std::pair<std::string, std::string>>& files = {}) {
  Scenario s = StandardScenario();
  for (const auto& [build, path] : files) s.Install(build, path);
  s.WriteIni("[General]\nIsDebug=1\n" + iniTail);
  s.Play(script);
  return s;
}

void ExpectSystemServed(const Scenario& s) {
  EXPECT_EQ(s.CountMessages("[Info] Original dinput8.dll loaded successfully"), 1) << s.Log();
  EXPECT_EQ(s.ResultsStartingWith("dinput").at(0), "dinput hr=0x00000000 interface=yes");
  EXPECT_EQ(s.CountMessages("[Input] Hooked DirectInput8 CreateDevice"), 1);
}

TEST(Chainload, WithoutAPathTheSystemLibraryServes) {
  const Scenario s = RunChain("");
  EXPECT_EQ(s.MessagesStartingWith("[Chainload]"),
            (std::vector<std::string>{"[Chainload] Disabled; chainDInput8dllPath is empty in " +
                                      s.WindowsDir() + "\\artwheel.ini"}));
  ExpectSystemServed(s);
}

// The game creates its interface twice: resolved once, forwarded twice, the
// interface's method table redirected once.
TEST(Chainload, RelativePathIsTakenFromTheLibrarysFolder) {
  const Scenario s = RunChain("[Chainload]\nchainDInput8dllPath=mods\\other.dll\n",
                              "dinput\ndinput\n", {{"chain_provider.dll", "mods/other.dll"}});
  const std::string path = s.WindowsDir() + "\\mods\\other.dll";
  EXPECT_EQ(s.MessagesStartingWith("[Chainload]"),
            (std::vector<std::string>{
                "[Chainload] Reading chainDInput8dllPath from " + s.WindowsDir() + "\\artwheel.ini",
                "[Chainload] Loaded: " + path,
                "[Chainload] Line 1 exports: DirectInput8Create, DllCanUnloadNow, "
                "DllGetClassObject, DllRegisterServer",
                "[Chainload] Selected DirectInput8Create provider",
                "[Chainload] Forwarding DirectInput8Create to " + path,
                "[Chainload] Forwarding DirectInput8Create to " + path}));
  EXPECT_EQ(s.Read("provider_calls.txt"),
            "DirectInput8Create version=0x0800 out=given\n"
            "DirectInput8Create version=0x0800 out=given\n");
  EXPECT_EQ(s.ResultsStartingWith("dinput hr=0x00000000 interface=yes").size(), 2u);
  EXPECT_EQ(s.CountMessages("[Input] Hooked DirectInput8 CreateDevice"), 1);
  EXPECT_EQ(s.CountMessages("[Info] Original dinput8.dll"), 0);
}

TEST(Chainload, AbsolutePathWithForwardSlashes) {
  Scenario s = StandardScenario();
  std::string absolute = s.WindowsDir() + "\\elsewhere\\other.dll";
  for (char& c : absolute) {
    if (c == '\\') c = '/';
  }
  s.Install("chain_provider.dll", "elsewhere/other.dll");
  s.WriteIni("[General]\nIsDebug=1\n[Chainload]\nchainDInput8dllPath=" + absolute + "\n");
  s.Play("dinput\n");
  EXPECT_EQ(s.CountMessages("[Chainload] Loaded: " + absolute), 1) << s.Log();
  EXPECT_EQ(s.CountMessages("[Chainload] Selected DirectInput8Create provider"), 1);
}

// The comment is longer than any path may be; only the path counts.
TEST(Chainload, QuotedPathWithSpacesAndALongComment) {
  const Scenario s =
      RunChain("[Chainload]\nchainDInput8dllPath = \"my mods\\other proxy.dll\" # the other one" +
                   std::string(1100, '.') + "\n",
               "dinput\n", {{"chain_provider.dll", "my mods/other proxy.dll"}});
  EXPECT_EQ(s.CountMessages("[Chainload] chainDInput8dllPath is longer than"), 0) << s.Log();
  EXPECT_EQ(s.CountMessages("[Chainload] Loaded: " + s.WindowsDir() + "\\my mods\\other proxy.dll"),
            1)
      << s.Log();
  EXPECT_EQ(s.Read("provider_calls.txt"), "DirectInput8Create version=0x0800 out=given\n");
}

// A chain path outside ASCII (café\élan.dll) as an editor saves it:
// UTF-8 without the mark (today's Notepad), with it, and in the ANSI code page
// (Wine's, 1252 here); the same key in a section before [Chainload] is not
// the chain path.
struct SavedAs {
  const char* name;
  const char* mark;
  const char* eAcute;
};

class ChainPathSavedAs : public ::testing::TestWithParam<SavedAs> {};

TEST_P(ChainPathSavedAs, IsReadAsTheEditorWroteIt) {
  const SavedAs& saved = GetParam();
  const std::string e = saved.eAcute;
  Scenario s = StandardScenario();
  s.Install("chain_provider.dll", "caf\xC3\xA9/\xC3\xA9lan.dll");
  s.WriteIni(std::string(saved.mark) +
             "[General]\r\nIsDebug=1\r\n[Other]\r\nchainDInput8dllPath=wrong.dll\r\n"
             "[Chainload]\r\nchainDInput8dllPath=caf" +
             e + "\\" + e + "lan.dll\r\n");
  s.Play("dinput\n");
  EXPECT_EQ(
      s.CountMessages("[Chainload] Loaded: " + s.WindowsDir() + "\\caf\xC3\xA9\\\xC3\xA9lan.dll"),
      1)
      << s.Log();
  EXPECT_EQ(s.CountMessages("[Chainload] Selected DirectInput8Create provider"), 1);
  EXPECT_EQ(s.Read("provider_calls.txt"), "DirectInput8Create version=0x0800 out=given\n");
}

INSTANTIATE_TEST_SUITE_P(Chainload, ChainPathSavedAs,
                         ::testing::Values(SavedAs{"Utf8", "", "\xC3\xA9"},
                                           SavedAs{"Utf8WithMark", "\xEF\xBB\xBF", "\xC3\xA9"},
                                           SavedAs{"Ansi1252", "", "\xE9"}),
                         [](const auto& param) { return std::string(param.param.name); });

TEST(Chainload, APathWithANulByteIsRefusedAsSuch) {
  const Scenario s =
      RunChain(std::string("[Mods]\nchainDInput8dllPath=other\0.dll\n", 38), "dinput\n");
  EXPECT_EQ(s.CountMessages("[Chainload] chainDInput8dllPath holds a NUL byte; ignored"), 1)
      << s.Log();
  EXPECT_EQ(s.CountMessages("[Chainload] chainDInput8dllPath is longer than"), 0);
  ExpectSystemServed(s);
}

TEST(Chainload, MissingFileFallsBackToTheSystemLibrary) {
  const Scenario s = RunChain("[Chainload]\nchainDInput8dllPath=missing.dll\n");
  EXPECT_EQ(s.CountMessages("[Chainload] Failed: " + s.WindowsDir() + "\\missing.dll (error 126)"),
            1)
      << s.Log();
  ExpectSystemServed(s);
}

// A path that fits the library's buffers but not the system's 259 characters:
// one line says so, and the system library serves.
TEST(Chainload, APathLongerThanWindowsAllowsIsSaidAndTheSystemLibraryServes) {
  const std::string name = std::string(250, 'x') + ".dll";
  const Scenario s = RunChain("[Chainload]\nchainDInput8dllPath=" + name + "\n");
  EXPECT_EQ(s.MessagesStartingWith("[Chainload] Failed"),
            std::vector<std::string>{
                "[Chainload] Failed: path longer than the 259 characters Windows allows: " +
                s.WindowsDir() + "\\" + name})
      << s.Log();
  ExpectSystemServed(s);
}

TEST(Chainload, LibraryWithoutTheExportFallsBackToTheSystemLibrary) {
  const Scenario s = RunChain("[Chainload]\nchainDInput8dllPath=noexport.dll\n", "dinput\n",
                              {{"xinput1_4.dll", "noexport.dll"}});
  EXPECT_EQ(s.CountMessages("[Chainload] Line 1 exports: XInputEnable, XInputGetCapabilities, "
                            "XInputGetState, XInputSetState"),
            1)
      << s.Log();
  EXPECT_EQ(s.CountMessages("[Chainload] Loaded module does not export DirectInput8Create"), 1);
  ExpectSystemServed(s);
}

TEST(Chainload, HundredsOfExportsAreListedUpTo448BytesAndCut) {
  const Scenario s = RunChain("[Chainload]\nchainDInput8dllPath=many.dll\n", "dinput\n",
                              {{"chain_provider_many.dll", "many.dll"}});
  const auto lines = s.MessagesStartingWith("[Chainload] Line 1 exports: ");
  ASSERT_EQ(lines.size(), 1u) << s.Log();
  const std::string listing = lines[0].substr(std::string("[Chainload] Line 1 exports: ").size());
  EXPECT_EQ(listing.rfind("DirectInput8Create, ProviderExtraExport1, ProviderExtraExport10, ", 0),
            0u);
  EXPECT_LE(lines[0].size(), 511u);
  EXPECT_EQ(listing.substr(listing.size() - 5), ", ...");
}

TEST(Chainload, AProviderFailureIsReturnedUnchangedAndNothingIsTouched) {
  Scenario s = StandardScenario();
  s.Install("chain_provider.dll", "other.dll");
  s.WriteFile("provider.ini", "[Provider]\nResult=0x80070057\n");
  s.WriteIni("[General]\nIsDebug=1\n[Chainload]\nchainDInput8dllPath=other.dll\n");
  s.Play("dinput\n");
  EXPECT_EQ(s.ResultsStartingWith("dinput").at(0), "dinput hr=0x80070057 interface=no");
  EXPECT_EQ(s.CountMessages("[Input] Hooked DirectInput8 CreateDevice"), 0);
  EXPECT_EQ(s.CountMessages("[Input] Failed to hook DirectInput8 CreateDevice"), 0);
}

TEST(Chainload, ANullInterfaceAddressIsPassedOnWithoutTouchingAnything) {
  const Scenario s = RunChain("[Chainload]\nchainDInput8dllPath=other.dll\n", "dinputnull\n",
                              {{"chain_provider.dll", "other.dll"}});
  EXPECT_EQ(s.Read("provider_calls.txt"), "DirectInput8Create version=0x0800 out=null\n");
  EXPECT_EQ(s.ResultsStartingWith("dinput").at(0), "dinput hr=0x00000000 interface=no");
  EXPECT_EQ(s.CountMessages("[Input] Hooked DirectInput8 CreateDevice"), 0);
  EXPECT_EQ(s.CountMessages("[Input] Failed to hook DirectInput8 CreateDevice"), 0);
}

TEST(Chainload, APathBackToThisLibraryIsRefused) {
  const Scenario s = RunChain("[Chainload]\nchainDInput8dllPath=dinput8.dll\n", "dinput\ndinput\n");
  EXPECT_EQ(s.CountMessages("[Chainload] Refused: chainDInput8dllPath names this library itself"),
            1)
      << s.Log();
  EXPECT_EQ(s.CountMessages("[Info] Original dinput8.dll loaded successfully"), 1);
  EXPECT_EQ(s.ResultsStartingWith("dinput hr=0x00000000 interface=yes").size(), 2u);
}

TEST(Chainload, TwoProxiesChainingToEachOtherEndAtTheSystemLibrary) {
  Scenario s = StandardScenario();
  s.InstallProduct("b/other.dll");  // a second copy that chains back to the first
  s.WriteIni("[General]\nIsDebug=1\n[Chainload]\nchainDInput8dllPath=b\\other.dll\n");
  s.WriteFile("b/artwheel.ini",
              "[General]\nIsDebug=1\n[Chainload]\nchainDInput8dllPath=..\\dinput8.dll\n");
  // The second copy's lines are handed over while a viewer holds the log, and
  // that copy never logs again: the first copy's worker writes them.
  s.Play(
      "waitlog [Core] Initialization OK\nlockfile artwheel_log.txt\ndinput\n"
      "unlockfile artwheel_log.txt\ndinput\n"
      "waitlog [Info] Original dinput8.dll loaded successfully\n"
      "waitlog [Chainload] Refused: the chain leads back to this library\n"
      "waitlogn 2 [Chainload] Forwarding DirectInput8Create to \n");
  EXPECT_EQ(s.ResultsStartingWith("dinput hr=0x00000000 interface=yes").size(), 2u) << s.Log();
  EXPECT_EQ(s.CountMessages("[Chainload] Refused: the chain leads back to this library"), 1);
  EXPECT_EQ(s.CountMessages("[Info] Original dinput8.dll loaded successfully"), 1);
  // The second creation no longer goes round: A serves it from the system library.
  EXPECT_EQ(s.CountMessages("[Chainload] Forwarding DirectInput8Create to "), 2);
}

}  // namespace
}  // namespace e2e
