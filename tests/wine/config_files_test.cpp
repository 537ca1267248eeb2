#include <gtest/gtest.h>
#include <windows.h>

#include <fstream>
#include <string>

#include "app/settings.h"
#include "base/ini_file.h"

namespace artwheel {
namespace {

class ConfigFiles : public ::testing::Test {
 protected:
  void SetUp() override {
    char temp[MAX_PATH];
    GetTempPathA(sizeof temp, temp);
    path_ = std::string(temp) + "artwheel_config_test_" + std::to_string(GetCurrentProcessId()) +
            ".ini";
  }
  void TearDown() override { DeleteFileA(path_.c_str()); }
  void Write(const std::string& content) {
    std::ofstream(path_, std::ios::binary | std::ios::trunc) << content;
  }
  std::string ChainPath() {
    char out[kChainPathSize];
    ReadChainPath(path_.c_str(), out, sizeof out);
    return out;
  }
  std::string path_;
};

// From [Chainload] first, else from a line before any section; a path too
// long for its buffer is refused, not cut.
TEST_F(ConfigFiles, ChainPathFromItsSectionOrTheScannerAndNeverCut) {
  EXPECT_EQ(ChainPath(), "");  // no file
  Write("chainDInput8dllPath=first.dll\n[Chainload]\nchainDInput8dllPath = second.dll ; old\n");
  EXPECT_EQ(ChainPath(), "second.dll");
  Write("chainDInput8dllPath = \"C:\\My Mods\\x.dll\" # comment\n[General]\nIsDebug=1\n");
  EXPECT_EQ(ChainPath(), "\"C:\\My Mods\\x.dll\"");
  Write("chainDInput8dllPath = b.dll ; comment\nIsDebug=1\n[General]\nOther=1\n");
  EXPECT_EQ(ChainPath(), "b.dll");
  Write("[Chainload]\nchainDInput8dllPath=" + std::string(1500, 'p') + ".dll\n");
  EXPECT_EQ(ChainPath(), "");
  Write("chainDInput8dllPath=" + std::string(1500, 'p') + ".dll\n");
  EXPECT_EQ(ChainPath(), "");
}

TEST_F(ConfigFiles, ScannerReadsAFileWithNulBytesAndAHugeLine) {
  Write(std::string("\0\0garbage\n", 10) + std::string(1 << 20, 'x') + "\nIsDebug = on\n");
  char value[32];
  EXPECT_EQ(FindIniKeyAnywhere(path_.c_str(), "IsDebug", value, sizeof value),
            IniScanResult::kFound);
  EXPECT_STREQ(value, "on");
}

TEST(ModuleDirectoryTest, EndsWithTheBackslashOfTheModulesFolder) {
  char folder[kPathSize];
  ASSERT_TRUE(ModuleDirectory(GetModuleHandleA(nullptr), folder, sizeof folder));
  char exe[MAX_PATH];
  GetModuleFileNameA(nullptr, exe, sizeof exe);
  EXPECT_EQ(std::string(exe).rfind(folder, 0), 0u);
  EXPECT_EQ(std::string(folder).back(), '\\');
  char tiny[8];
  EXPECT_FALSE(ModuleDirectory(GetModuleHandleA(nullptr), tiny, sizeof tiny));  // refused, not cut
  EXPECT_STREQ(tiny, "");
}

}  // namespace
}  // namespace artwheel
