#include "scenario.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <regex>
#include <sstream>

namespace e2e {
namespace {

fs::path WindowsBin() { return ARTWHEEL_WINDOWS_BIN; }

// The running test's name; a test's second and later scenarios get "_2", "_3".
std::string ScenarioFolderName() {
  const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
  std::string name = std::string(info->test_suite_name()) + "." + info->name();
  for (char& c : name) {
    if (c == '/') c = '_';
  }
  static std::string lastTest;
  static int scenariosOfTest = 0;
  scenariosOfTest = name == lastTest ? scenariosOfTest + 1 : 1;
  lastTest = name;
  return scenariosOfTest == 1 ? name : name + "_" + std::to_string(scenariosOfTest);
}

std::string Quote(const std::string& text) {
  std::string quoted = "'";
  for (char c : text) {
    if (c == '\'') {
      quoted += "'\\''";
    } else {
      quoted += c;
    }
  }
  return quoted + "'";
}

fs::path ScenarioRoot() {
  const fs::path root = ARTWHEEL_SCENARIO_ROOT;
  return D3DStack() == "wined3d" ? root : root / D3DStack();
}

}  // namespace

std::vector<std::string> SplitLines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream stream(text);
  std::string line;
  while (std::getline(stream, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    lines.push_back(line);
  }
  return lines;
}

bool MatchesWhole(const std::string& text, const std::string& pattern, bool ignoreCase) {
  const auto flags =
      ignoreCase ? std::regex::ECMAScript | std::regex::icase : std::regex::ECMAScript;
  return std::regex_match(text, std::regex(pattern, flags));
}

std::string D3DStack() {
  const char* stack = std::getenv("ARTWHEEL_D3D");
  return stack != nullptr && *stack != '\0' ? stack : "wined3d";
}

Scenario::Scenario() : dir_(ScenarioRoot() / ScenarioFolderName()) {
  fs::remove_all(dir_);
  fs::create_directories(dir_);
}

void Scenario::Install(const std::string& build, const std::string& asPath) {
  const fs::path target = dir_ / asPath;
  fs::create_directories(target.parent_path());
  fs::copy_file(WindowsBin() / build, target, fs::copy_options::overwrite_existing);
}

void Scenario::InstallGame(const std::string& asName, const std::string& build) {
  Install(build, asName);
}

void Scenario::InstallProduct(const std::string& asName) { Install("dinput8.dll", asName); }

void Scenario::InstallXInput(const std::string& asName) { Install("xinput1_4.dll", asName); }

std::string Scenario::InstallDeep(size_t folderLength) {
  const std::string sub(folderLength - WindowsDir().size() - 2, 'd');
  InstallProduct(sub + "/dinput8.dll");
  InstallGame(sub + "/sekiro.exe");
  InstallXInput(sub + "/xinput1_4.dll");
  return sub;
}

std::string Scenario::WindowsDir() const {
  std::string path = "Z:" + dir_.string();
  for (char& c : path) {
    if (c == '/') c = '\\';
  }
  return path;
}

void Scenario::MoveInto(const std::string& subfolder) {
  dir_ /= subfolder;
  fs::create_directories(dir_);
}

void Scenario::WriteFile(const std::string& name, const std::string& content) {
  fs::create_directories((dir_ / name).parent_path());
  std::ofstream out(dir_ / name, std::ios::binary | std::ios::trunc);
  out << content;
}

int Scenario::Run(const std::string& program, int timeoutSeconds) {
  // Only the files in the game's folder count: an XInput name that is not
  // there fails to load, as on a machine without it.
  std::string overrides = "dinput8=n,b";
  for (const char* name : kAllXInputNames) {
    overrides += ";" + std::string(name).substr(0, std::string(name).size() - 4) + "=n";
  }
  overrides += overrides_;
  const std::string command =
      "cd " + Quote(dir_.string()) + " && ARTWHEEL_WINE_ROOT=" + Quote(ARTWHEEL_WINE_ROOT) +
      " ARTWHEEL_D3D=" + Quote(D3DStack()) + " ARTWHEEL_DLL_OVERRIDES=" + Quote(overrides) +
      " timeout -k 5 " + std::to_string(timeoutSeconds) + " " + Quote(ARTWHEEL_WINE_RUN) + " " +
      Quote(program) + " scenario.txt results.txt >stdout.txt 2>&1";
  const int status = std::system(command.c_str());
  if (status == -1 || !WIFEXITED(status)) return -1;
  const int code = WEXITSTATUS(status);
  if (code == 124 || code == 137) return -1;
  return code > 128 ? CodeOfACrashAfterTheEnd(code) : code;
}

// The simulator ends itself with TerminateProcess once its results are
// written. Under Wine that runs the Unix side's exit while native threads of
// the graphics driver still run, and on a busy machine that teardown has been
// seen to die of a signal after the last line. What the game did is all in
// results.txt by then: its "exit N" line stands, with a note in the output.
int Scenario::CodeOfACrashAfterTheEnd(int signalCode) const {
  const std::vector<std::string> results = Results();
  int code = 0;
  if (results.empty() || std::sscanf(results.back().c_str(), "exit %d", &code) != 1) {
    return signalCode;
  }
  std::printf("note: the simulator died (status %d) in its teardown after \"%s\"\n", signalCode,
              results.back().c_str());
  return code;
}

Scenario& Scenario::Play(const std::string& script, const std::string& program) {
  WriteScript(script + "exit 0\n");
  EXPECT_EQ(Run(program), 0) << Read("stdout.txt") << Log();
  EXPECT_TRUE(ResultsStartingWith("timeout").empty()) << Read("results.txt") << Log();
  return *this;
}

bool Scenario::Exists(const std::string& name) const { return fs::exists(dir_ / name); }

std::string Scenario::Read(const std::string& name) const {
  std::ifstream in(dir_ / name, std::ios::binary);
  std::ostringstream content;
  content << in.rdbuf();
  return content.str();
}

std::vector<std::string> Scenario::LogMessages() const {
  static const std::regex kPrefix(
      R"(^\[\d{4}-\d{2}-\d{2} \d{2}:\d{2}:\d{2}\] \[pid=\d+ tid=\d+\] )");
  std::vector<std::string> messages;
  for (const std::string& line : SplitLines(Log())) {
    std::smatch match;
    if (std::regex_search(line, match, kPrefix)) messages.push_back(match.suffix());
  }
  return messages;
}

std::vector<std::string> Scenario::MessagesStartingWith(const std::string& prefix) const {
  std::vector<std::string> found;
  for (const std::string& message : LogMessages()) {
    if (message.rfind(prefix, 0) == 0) found.push_back(message);
  }
  return found;
}

int Scenario::CountMessages(const std::string& startingWith) const {
  return static_cast<int>(MessagesStartingWith(startingWith).size());
}

std::vector<std::string> Scenario::Results() const { return SplitLines(Read("results.txt")); }

std::vector<std::string> Scenario::ResultsStartingWith(const std::string& prefix) const {
  std::vector<std::string> found;
  for (const std::string& line : Results()) {
    if (line.rfind(prefix, 0) == 0) found.push_back(line);
  }
  return found;
}

std::string Scenario::ButtonsRead(const std::string& label) const {
  const auto lines = ResultsStartingWith("read " + label + " ");
  return lines.empty() ? "missing" : lines[0].substr(lines[0].find("buttons=") + 8);
}

std::string Scenario::DeviceBytesRead(const std::string& label) const {
  const auto lines = ResultsStartingWith("getstate " + label + " ");
  if (lines.size() != 1 || lines[0].find("hr=0x00000000 guard=ok") == std::string::npos) {
    return "missing";
  }
  return lines[0].substr(lines[0].find("bytes=") + 6);
}

Scenario StandardScenario() {
  Scenario scenario;
  scenario.InstallProduct();
  scenario.InstallGame();
  scenario.InstallXInput("xinput1_4.dll");
  return scenario;
}

std::string Probe(const std::string& label, int x, int y) {
  return "pixel " + std::to_string(x) + " " + std::to_string(y) + " " + label + "\n";
}

::testing::AssertionResult PixelNear(const Scenario& s, const std::string& label,
                                     const Rgb& expected) {
  const auto lines = s.ResultsStartingWith("pixel " + label + " ");
  Rgb actual{};
  if (lines.empty() || std::sscanf(lines[0].c_str() + 7 + label.size(), "%d %d %d", &actual.r,
                                   &actual.g, &actual.b) != 3) {
    return ::testing::AssertionFailure() << "no pixel " << label;
  }
  if (std::abs(actual.r - expected.r) <= 3 && std::abs(actual.g - expected.g) <= 3 &&
      std::abs(actual.b - expected.b) <= 3) {
    return ::testing::AssertionSuccess();
  }
  return ::testing::AssertionFailure()
         << label << ": (" << actual.r << ", " << actual.g << ", " << actual.b << ") vs ("
         << expected.r << ", " << expected.g << ", " << expected.b << ")";
}

Scenario Played(const std::string& ini, const std::string& script) {
  Scenario scenario = StandardScenario();
  scenario.WriteIni(ini);
  scenario.Play(script);
  return scenario;
}

}  // namespace e2e
