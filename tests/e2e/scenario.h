#pragma once
// One end-to-end scenario: a fresh game folder with the real dinput8.dll, the
// host simulator and its stand-in libraries, one simulator process under Wine,
// and what it left behind (log, configuration file, results).
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

namespace e2e {

namespace fs = std::filesystem;

inline constexpr const char* kAllXInputNames[] = {
    "xinput1_4.dll", "xinput1_3.dll", "xinput9_1_0.dll", "xinput1_2.dll", "xinput1_1.dll"};

// The lines of a text, without their line ends (LF or CR LF).
std::vector<std::string> SplitLines(const std::string& text);

// Whether all of `text` matches the ECMAScript regular expression `pattern`.
// Every test program's regular expressions are compiled here, in one file:
// each file that instantiates std::regex adds seconds to the build.
bool MatchesWhole(const std::string& text, const std::string& pattern, bool ignoreCase = false);

// The Direct3D 11 stack the scenarios run on, from ARTWHEEL_D3D: "wined3d"
// (Wine's own, the default) or "dxvk" (DXVK over Vulkan, as under Proton).
std::string D3DStack();

class Scenario {
 public:
  // The folder is named after the running test and emptied first; the
  // scenarios of each Direct3D stack have folders of their own.
  Scenario();

  // The simulator, as sekiro.exe unless another name is given.
  void InstallGame(const std::string& asName = "sekiro.exe",
                   const std::string& build = "sekiro.exe");
  void InstallProduct(const std::string& asName = "dinput8.dll");
  void InstallXInput(const std::string& asName);
  // Any file of the Windows build, under a path relative to the folder.
  void Install(const std::string& build, const std::string& asPath);
  // Product, simulator and xinput1_4.dll in a subfolder named so that the
  // folder's Windows path with its backslash is `folderLength` bytes long;
  // returns the subfolder, to run sekiro.exe from.
  std::string InstallDeep(size_t folderLength);
  // From now on the game's folder is this subfolder (made now) of the
  // scenario's folder; the program runs there.
  void MoveInto(const std::string& subfolder);
  void WriteFile(const std::string& name, const std::string& content);
  void WriteIni(const std::string& content) { WriteFile("artwheel.ini", content); }
  void WriteScript(const std::string& content) { WriteFile("scenario.txt", content); }

  // One more Wine DLL load-order entry for the run, as "name=order".
  void OverrideDll(const std::string& entry) { overrides_ += ";" + entry; }

  // Runs the program with the script; returns its exit code (-1 when it did
  // not finish in time).
  int Run(const std::string& program = "sekiro.exe", int timeoutSeconds = 60);
  int CodeOfACrashAfterTheEnd(int signalCode) const;
  // Runs the script with "exit 0" after it and expects the program to end so,
  // with none of the script's waits timed out.
  Scenario& Play(const std::string& script, const std::string& program = "sekiro.exe");

  bool Exists(const std::string& name) const;
  std::string Read(const std::string& name) const;
  std::string Log() const { return Read("artwheel_log.txt"); }
  std::string Ini() const { return Read("artwheel.ini"); }
  // The messages of the log, without time stamp and origin.
  std::vector<std::string> LogMessages() const;
  int CountMessages(const std::string& startingWith) const;
  std::vector<std::string> MessagesStartingWith(const std::string& prefix) const;
  std::vector<std::string> Results() const;
  std::vector<std::string> ResultsStartingWith(const std::string& prefix) const;
  // The buttons the game's XInput read `label` saw ("0x2000"), or "missing".
  std::string ButtonsRead(const std::string& label) const;
  // The bytes, in hex, of the one DirectInput state read `label` that
  // succeeded with the guard intact, or "missing".
  std::string DeviceBytesRead(const std::string& label) const;

  const fs::path& dir() const { return dir_; }
  // The folder as the game sees it, with backslashes: Z:\work\...\Name
  std::string WindowsDir() const;

 private:
  fs::path dir_;
  std::string overrides_;
};

// A ready folder: product, simulator as sekiro.exe, xinput1_4.dll.
Scenario StandardScenario();
// A ready folder with this configuration file, the script played in it.
Scenario Played(const std::string& ini, const std::string& script);

// The script line that reads the pixel at x, y of the last screenshot into
// the results under the label.
std::string Probe(const std::string& label, int x, int y);
struct Rgb {
  int r, g, b;
};
// Whether the pixel read under the label is within 3 of the colour in each channel.
::testing::AssertionResult PixelNear(const Scenario& s, const std::string& label,
                                     const Rgb& expected);

}  // namespace e2e
