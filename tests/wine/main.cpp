// The Win32 tests' entry point. The process ends with TerminateProcess, as the
// game does when it quits: Direct3D objects the overlay keeps for the life of
// the process would otherwise meet the graphics driver's own teardown.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdio>

int main(int argc, char** argv) {
  ::testing::InitGoogleTest(&argc, argv);
  const int result = RUN_ALL_TESTS();
  std::fflush(stdout);
  std::fflush(stderr);
  TerminateProcess(GetCurrentProcess(), static_cast<UINT>(result));
  return result;
}
