// The release as a player gets it: the zip unpacked into a fresh game folder
// with nothing from the build tree but the simulator and its stand-in XInput.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <set>
#include <string>
#include <vector>

#include "../scenario.h"

namespace e2e {
namespace {

constexpr char kZip[] = ARTWHEEL_PACKAGE_ZIP;

constexpr Rgb kClear{32, 64, 96};
constexpr Rgb kRim{130, 124, 94};      // bg.png's gold rim (196, 164, 92) at 60% over the frame
constexpr Rgb kTile5000{210, 60, 60};  // 5000.png's tile around its digits

struct Rect {
  int left, top, right, bottom;  // right and bottom exclusive
};

struct Size {
  const char* window;  // "W H"
  const char* logLine;
  Rect panel;
  Rect icon;
};

// 1920 x 1080 has its own row; 1280 x 800 gets the 1280 x 720 row 40 px lower;
// 3840 x 2160 the 1920 x 1080 row doubled.
const Size kSizes[] = {
    {"1920 1080",
     "[Overlay] SkillPanel resolution=1920x1080 profile=1920x1080",
     {1785, 895, 1875, 985},
     {1799, 909, 1861, 971}},
    {"1280 800",
     "[Overlay] SkillPanel resolution=1280x800 profile=1280x720 fitted: picture 1280x720 at 0,40, "
     "margins 30,63, size 60, inset 8",
     {1190, 637, 1250, 697},
     {1198, 645, 1242, 689}},
    {"3840 2160",
     "[Overlay] SkillPanel resolution=3840x2160 profile=1920x1080 fitted: picture 3840x2160 at "
     "0,0, margins 90,190, size 180, inset 28",
     {3570, 1790, 3750, 1970},
     {3598, 1818, 3722, 1942}},
};

std::string Name(const Size& size) { return std::string(size.window).replace(4, 1, "x"); }

// A point of the icon's tile around its digits.
int TileX(const Size& size) { return (size.icon.left + size.icon.right) / 2; }
int TileY(const Size& size) { return size.icon.top + (size.icon.bottom - size.icon.top) / 4; }

// The rim on each edge of the panel, the frame just outside it, the icon's tile.
std::string ProbePanel(const Size& size) {
  const Rect& p = size.panel;
  const int midX = (p.left + p.right) / 2;
  const int midY = (p.top + p.bottom) / 2;
  const std::string n = Name(size);
  return Probe(n + "_rim_left", p.left, midY) + Probe(n + "_rim_right", p.right - 1, midY) +
         Probe(n + "_rim_top", midX, p.top) + Probe(n + "_rim_bottom", midX, p.bottom - 1) +
         Probe(n + "_out_left", p.left - 2, midY) + Probe(n + "_out_right", p.right + 1, midY) +
         Probe(n + "_out_top", midX, p.top - 2) + Probe(n + "_out_bottom", midX, p.bottom + 1) +
         Probe(n + "_tile", TileX(size), TileY(size));
}

bool EveryLineEndsInCrLf(const std::string& text) {
  for (size_t at = text.find('\n'); at != std::string::npos; at = text.find('\n', at + 1)) {
    if (at == 0 || text[at - 1] != '\r') return false;
  }
  return !text.empty() && text.back() == '\n';
}

std::string Replaced(std::string text, const std::string& from, const std::string& to) {
  const size_t at = text.find(from);
  EXPECT_NE(at, std::string::npos) << from;
  if (at != std::string::npos) text.replace(at, from.size(), to);
  return text;
}

// Unpacks the zip into the scenario's folder; the files it held, sorted.
std::vector<std::string> Unpack(const Scenario& s) {
  const std::string command =
      std::string(ARTWHEEL_PYTHON) + " -m zipfile -e '" + kZip + "' '" + s.dir().string() + "'";
  EXPECT_EQ(std::system(command.c_str()), 0) << command;
  std::vector<std::string> files;
  for (const auto& entry : fs::recursive_directory_iterator(s.dir())) {
    if (entry.is_regular_file()) files.push_back(fs::relative(entry.path(), s.dir()).string());
  }
  std::sort(files.begin(), files.end());
  return files;
}

TEST(Package, TheUnpackedZipRunsWithItsStarterConfiguration) {
  Scenario s;
  const std::vector<std::string> files = Unpack(s);
  std::set<std::string> expected = {"artwheel-LICENSE.txt", "artwheel-README.txt",
                                    "artwheel.starter.ini", "dinput8.dll", "resources/bg.png"};
  for (int art = 5000; art <= 9900; art += 100) {
    expected.insert("resources/" + std::to_string(art) + ".png");
  }
  EXPECT_EQ(std::set<std::string>(files.begin(), files.end()), expected);
  EXPECT_TRUE(EveryLineEndsInCrLf(s.Read("artwheel-README.txt")));
  EXPECT_TRUE(EveryLineEndsInCrLf(s.Read("artwheel-LICENSE.txt")));
  const std::string starter = s.Read("artwheel.starter.ini");
  ASSERT_TRUE(EveryLineEndsInCrLf(starter));

  // The first start makes artwheel.ini from the starter, and the write-back
  // at load, done once the panel is drawn, changes none of it.
  s.InstallGame();
  s.InstallXInput("xinput1_4.dll");
  const std::string inGame =
      "dinput\nown 5000 50\nown 7300 73\nequipped 50\nmenu activeOrHud 1\nmenu loadingOrUi 1\n"
      "menu postLoad 1\npad 0 0\n";
  s.WriteScript(inGame + "window 1280 720\nwaitpresent dinput8.dll\nframes 3\nexit 0\n");
  ASSERT_EQ(s.Run("sekiro.exe", 60), 0) << s.Read("stdout.txt");
  EXPECT_TRUE(s.ResultsStartingWith("timeout").empty()) << s.Read("results.txt");
  EXPECT_EQ(s.Ini(), starter);

  // The player's troubleshooting step, so that the start can be read.
  const std::string withLog = Replaced(starter, "\r\nIsDebug=false\r\n", "\r\nIsDebug=true\r\n");
  s.WriteIni(withLog);
  std::string script = "fileversion dinput8.dll dll\n" + inGame;
  for (const Size& size : kSizes) {
    // The equipped art's icon may reach the panel a little after it is up.
    script += "window " + std::string(size.window) + "\nwaitlog " + size.logLine + "\nuntilpixel " +
              std::to_string(TileX(size)) + " " + std::to_string(TileY(size)) + " " +
              std::to_string(kTile5000.r) + " " + std::to_string(kTile5000.g) + " " +
              std::to_string(kTile5000.b) + "\nscreenshot " + Name(size) + "\n" + ProbePanel(size);
  }
  // D-pad Down + B in the combat-art menu with the cursor on 7300.
  script +=
      "menu pauseMenu 2\nmenu selectedResolvedId 73\nwaitlog [Menu] Skill assignment mode ON\n"
      "pad 0 0x2002\nwaitini Slots B 7300\npad 0 0\nmenu pauseMenu 0\nexit 0\n";
  s.WriteScript(script);
  ASSERT_EQ(s.Run("sekiro.exe", 90), 0) << s.Read("stdout.txt");
  EXPECT_TRUE(s.ResultsStartingWith("timeout").empty()) << s.Read("results.txt");

  // Loaded as written: nothing refused, clamped or ignored.
  EXPECT_EQ(s.MessagesStartingWith("[Config] Loaded from"),
            std::vector<std::string>{
                "[Config] Loaded from " + s.WindowsDir() +
                "\\artwheel.ini; slots: Y=0 A=0 B=0 X=0 Overlay=ON SkillPanel=ON UIScan=OFF "
                "Detail=OFF HudProbe=OFF GlobalFields=OFF DumpGlobalPointers=OFF "
                "DumpGlobalPointerLimit=2000"});
  for (const std::string& message : s.LogMessages()) {
    if (message.rfind("[Config]", 0) == 0 && message.rfind("[Config] Loaded from", 0) != 0) {
      EXPECT_TRUE(
          message ==
              "[Config] SkillPanel AnyResolution=ON: the panel is fitted to other screen sizes" ||
          message ==
              "[Config] SkillPanel ShowSlots=ON: the four slots show while DPad Down is held" ||
          message ==
              "[Config] ApplyChanges=ON: changes to artwheel.ini apply while the game runs" ||
          message ==
              "[Config] Combination Controller=Auto: the combinations follow the pads the "
              "game reads")
          << message;
    }
    for (const char* word : {"efused", "gnored", "lamp", "nvalid", "ailed", "ould not"}) {
      EXPECT_EQ(message.find(word), std::string::npos) << message;
    }
  }
  EXPECT_EQ(s.CountMessages("[Chainload] Disabled; chainDInput8dllPath is empty in "), 1);
  const std::vector<std::string> messages = s.LogMessages();
  ASSERT_GE(messages.size(), 2u);
  EXPECT_EQ(messages[1], "[Core] artwheel " + std::string(ARTWHEEL_VERSION));

  // The panel with the shipped images at each size.
  for (const Size& size : kSizes) {
    const std::string n = Name(size);
    EXPECT_EQ(s.CountMessages(size.logLine), 1) << n;
    for (const char* edge : {"_rim_left", "_rim_right", "_rim_top", "_rim_bottom"}) {
      EXPECT_TRUE(PixelNear(s, n + edge, kRim));
    }
    for (const char* edge : {"_out_left", "_out_right", "_out_top", "_out_bottom"}) {
      EXPECT_TRUE(PixelNear(s, n + edge, kClear));
    }
    EXPECT_TRUE(PixelNear(s, n + "_tile", kTile5000));
  }

  // The version a player sees in the file's properties.
  const std::string version = ARTWHEEL_VERSION;
  EXPECT_EQ(
      s.ResultsStartingWith("version dll "),
      (std::vector<std::string>{
          "version dll file=" + version + ".0 product=" + version + ".0",
          "version dll ProductName=artwheel", "version dll FileVersion=" + version,
          "version dll ProductVersion=" + version, "version dll OriginalFilename=dinput8.dll",
          "version dll FileDescription=artwheel: combat arts on controller combinations, "
          "skill panel",
          "version dll LegalCopyright=Copyright (c) 2026 the artwheel authors (MIT License)"}));

  // The assignment is saved, and the rewrite kept every line a player reads.
  EXPECT_EQ(s.CountMessages("[Skill] Assigned combat art id 7300 (resolved 73) to slot 2"), 1);
  const std::string after = s.Ini();
  const std::vector<std::string> afterLines = SplitLines(after);
  for (const std::string& line : SplitLines(starter)) {
    if (line.rfind(";", 0) == 0) {
      EXPECT_NE(std::find(afterLines.begin(), afterLines.end(), line), afterLines.end())
          << "lost: " << line;
    }
  }
  EXPECT_EQ(after, Replaced(withLog, "\r\nB=0\r\n", "\r\nB=7300\r\n"));

  // The next release unpacked over this one keeps the player's settings.
  Unpack(s);
  EXPECT_EQ(s.Ini(), after);
}

}  // namespace
}  // namespace e2e
