#include "base/log.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <fstream>
#include <regex>
#include <sstream>
#include <string>

namespace artwheel {
namespace {

// Each test logs into its own empty current directory.
class LogTest : public ::testing::Test {
 protected:
  void SetUp() override {
    char temp[MAX_PATH];
    GetTempPathA(sizeof temp, temp);
    GetCurrentDirectoryA(sizeof previous_, previous_);
    dir_ = std::string(temp) + "artwheel_log_test_" + std::to_string(GetCurrentProcessId());
    CreateDirectoryA(dir_.c_str(), nullptr);
    DeleteFileA((dir_ + "\\artwheel_log.txt").c_str());
    SetCurrentDirectoryA(dir_.c_str());
  }
  void TearDown() override {
    SetLogEnabled(false);
    DeleteFileA((dir_ + "\\artwheel_log.txt").c_str());
    SetCurrentDirectoryA(previous_);
    RemoveDirectoryA(dir_.c_str());
  }
  std::string ReadLog() {
    std::ifstream in(dir_ + "\\artwheel_log.txt", std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
  }
  bool LogExists() {
    return GetFileAttributesA((dir_ + "\\artwheel_log.txt").c_str()) != INVALID_FILE_ATTRIBUTES;
  }
  char previous_[MAX_PATH] = {};
  std::string dir_;
};

TEST_F(LogTest, WritesNothingAndCreatesNoFileWhileOff) {
  SetLogEnabled(false);
  WriteLogLine("[Core] nothing");
  WriteLogFormat("[Core] %s", "nothing");
  EXPECT_FALSE(LogExists());
}

TEST_F(LogTest, AppendsCompleteLinesWithStampOriginAndCrLf) {
  SetLogEnabled(true);
  WriteLogLine("[Core] first");
  WriteLogFormat("[Skill] Equip combat art id %u %s", 7300u, "OK");
  const std::string stamp = R"(\[\d{4}-\d{2}-\d{2} \d{2}:\d{2}:\d{2}\] \[pid=)" +
                            std::to_string(GetCurrentProcessId()) +
                            " tid=" + std::to_string(GetCurrentThreadId()) + R"(\] )";
  EXPECT_TRUE(
      std::regex_match(ReadLog(), std::regex(stamp + R"(\[Core\] first\r\n)" + stamp +
                                             R"(\[Skill\] Equip combat art id 7300 OK\r\n)")))
      << ReadLog();
}

TEST_F(LogTest, FormattedMessagesAreCutTo511CharactersPlainOnesAreNot) {
  SetLogEnabled(true);
  const std::string longText(600, 'x');
  WriteLogFormat("%s", longText.c_str());
  WriteLogLine(longText.c_str());
  std::istringstream log(ReadLog());
  std::string first;
  std::string second;
  std::getline(log, first);
  std::getline(log, second);
  EXPECT_EQ(first.substr(first.find("] ", 22) + 2), std::string(511, 'x') + "\r");
  EXPECT_EQ(second.substr(second.find("] ", 22) + 2), longText + "\r");
}

// Two game threads log at once: they take turns, so every line is whole and
// none is lost.
TEST_F(LogTest, ConcurrentWritersNeverInterleaveLines) {
  SetLogEnabled(true);
  constexpr int kLinesPerThread = 200;
  auto writer = [](LPVOID tag) -> DWORD {
    for (int i = 0; i < kLinesPerThread; ++i) {
      WriteLogFormat("[Core] writer %s line %03d end", static_cast<const char*>(tag), i);
    }
    return 0;
  };
  HANDLE threads[2] = {CreateThread(nullptr, 0, writer, const_cast<char*>("A"), 0, nullptr),
                       CreateThread(nullptr, 0, writer, const_cast<char*>("B"), 0, nullptr)};
  WaitForMultipleObjects(2, threads, TRUE, INFINITE);
  CloseHandle(threads[0]);
  CloseHandle(threads[1]);
  std::istringstream log(ReadLog());
  std::string line;
  int count = 0;
  const std::regex whole(R"(\[[^\]]+\] \[pid=\d+ tid=\d+\] \[Core\] writer [AB] line \d{3} end\r)");
  while (std::getline(log, line)) {
    EXPECT_TRUE(std::regex_match(line, whole)) << line;
    ++count;
  }
  EXPECT_EQ(count, 2 * kLinesPerThread);
}

// The log held without write sharing by another program's handle, let go
// 5 ms after the writer starts.
struct HeldLog {
  HANDLE file;
  HANDLE writerStarted;
};

DWORD WINAPI ReleaseSoon(LPVOID context) {
  auto* held = static_cast<HeldLog*>(context);
  WaitForSingleObject(held->writerStarted, INFINITE);
  Sleep(5);
  CloseHandle(held->file);
  return 0;
}

void LogWhileHeld(LPTHREAD_START_ROUTINE writer) {
  HeldLog held = {CreateFileA("artwheel_log.txt", GENERIC_READ, FILE_SHARE_READ, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr),
                  CreateEventA(nullptr, TRUE, FALSE, nullptr)};
  ASSERT_NE(held.file, INVALID_HANDLE_VALUE);
  HANDLE threads[2] = {CreateThread(nullptr, 0, ReleaseSoon, &held, 0, nullptr),
                       CreateThread(nullptr, 0, writer, &held, 0, nullptr)};
  WaitForMultipleObjects(2, threads, TRUE, INFINITE);
  CloseHandle(threads[0]);
  CloseHandle(threads[1]);
  CloseHandle(held.writerStarted);
}

// A game thread's line is dropped rather than waited for; the worker's waits and is kept.
TEST_F(LogTest, AHeldFileDropsAGameThreadsLineAndOnlyDelaysTheWorkers) {
  SetLogEnabled(true);
  WriteLogLine("[Core] before");
  LogWhileHeld([](LPVOID held) -> DWORD {
    SetEvent(static_cast<HeldLog*>(held)->writerStarted);
    WriteLogLine("[Core] from a game thread");
    return 0;
  });
  LogWhileHeld([](LPVOID held) -> DWORD {
    MarkLogThreadPatient();
    SetEvent(static_cast<HeldLog*>(held)->writerStarted);
    WriteLogLine("[Core] from the worker");
    return 0;
  });
  const std::string log = ReadLog();
  EXPECT_NE(log.find("[Core] before"), std::string::npos);
  EXPECT_EQ(log.find("[Core] from a game thread"), std::string::npos) << log;
  EXPECT_NE(log.find("[Core] from the worker"), std::string::npos) << log;
}

}  // namespace
}  // namespace artwheel
