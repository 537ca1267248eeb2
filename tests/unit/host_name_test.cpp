#include "game/host_name.h"

#include <gtest/gtest.h>

namespace artwheel {
namespace {

TEST(HostName, AcceptsTheHostInAnyCaseUnderEitherSeparator) {
  for (const char* path :
       {"C:\\Games\\Sekiro\\sekiro.exe", "C:\\Games\\SEKIRO.EXE", "Sekiro.Exe",
        "C:/Games/Sekiro/sekiro.exe", "C:\\Games/Sekiro\\sekiro.exe", "C:/Games\\sekiro.exe"}) {
    EXPECT_TRUE(IsHostExecutablePath(path)) << path;
  }
}

TEST(HostName, RejectsOtherNames) {
  for (const char* path : {"C:\\Games\\sekiro.exe.bak", "C:\\Games\\sekiro2.exe", "game.exe",
                           "C:\\sekiro.exe\\game.exe", "C:/sekiro.exe/", ""}) {
    EXPECT_FALSE(IsHostExecutablePath(path)) << path;
  }
}

TEST(HostName, FileNameIsAfterTheLaterSeparator) {
  EXPECT_EQ(ExecutableFileName("a\\b/c.exe"), "c.exe");
  EXPECT_EQ(ExecutableFileName("a/b\\c.exe"), "c.exe");
  EXPECT_EQ(ExecutableFileName("c.exe"), "c.exe");
  EXPECT_EQ(ExecutableFileName("dir\\"), "");
}

}  // namespace
}  // namespace artwheel
