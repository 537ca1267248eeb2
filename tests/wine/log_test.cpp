#include "base/log.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <atomic>
#include <cstring>
#include <fstream>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include "base/log_turn.h"
#include "base/patch.h"
#include "own_import.h"

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

// The messages of a log, in order, without time stamp and origin.
std::vector<std::string> Messages(const std::string& log) {
  std::vector<std::string> messages;
  std::istringstream lines(log);
  for (std::string line; std::getline(lines, line);) {
    const size_t origin = line.find("] [pid=");
    const size_t message = line.find("] ", origin + 2);
    messages.push_back(line.substr(message + 2, line.size() - message - 3));
  }
  return messages;
}

// The count of "[Log] N lines dropped" notes, added up.
int NotedAsDropped(const std::vector<std::string>& messages) {
  int dropped = 0;
  for (const std::string& message : messages) {
    if (message.rfind("[Log] ", 0) == 0) dropped += std::stoi(message.substr(6));
  }
  return dropped;
}

HANDLE Start(LPTHREAD_START_ROUTINE routine, const void* context = nullptr) {
  return CreateThread(nullptr, 0, routine, const_cast<void*>(context), 0, nullptr);
}

void Join(HANDLE thread) {
  WaitForSingleObject(thread, INFINITE);
  CloseHandle(thread);
}

DWORD WINAPI LogAsOurThread(LPVOID text) {
  MarkLogThreadPatient();
  WriteLogLine(static_cast<const char*>(text));
  return 0;
}

DWORD WINAPI LogAsGameThread(LPVOID text) {
  WriteLogLine(static_cast<const char*>(text));
  return 0;
}

// One of our threads and a game thread log at once: every line is whole, ours
// are all there, and the game thread's are written or counted as dropped.
TEST_F(LogTest, ConcurrentWritersNeverInterleaveAndEveryGameLineIsWrittenOrCounted) {
  SetLogEnabled(true);
  constexpr int kLinesPerThread = 200;
  auto writer = [](LPVOID tag) -> DWORD {
    if (*static_cast<const char*>(tag) == 'W') MarkLogThreadPatient();
    for (int i = 0; i < kLinesPerThread; ++i) {
      WriteLogFormat("[Core] writer %s line %03d end", static_cast<const char*>(tag), i);
    }
    return 0;
  };
  HANDLE threads[2] = {Start(writer, "W"), Start(writer, "G")};
  Join(threads[0]);
  Join(threads[1]);
  // Ours: writes the lines still handed over and the note of any dropped.
  Join(Start(LogAsOurThread, "[Core] done"));
  std::istringstream log(ReadLog());
  std::string line;
  int ours = 0;
  int game = 0;
  const std::regex whole(
      R"(\[[^\]]+\] \[pid=\d+ tid=\d+\] (\[Core\] writer [WG] line \d{3} end|\[Log\] \d+ lines dropped|\[Core\] done)\r)");
  while (std::getline(log, line)) {
    EXPECT_TRUE(std::regex_match(line, whole)) << line;
    ours += line.find("writer W") != std::string::npos;
    game += line.find("writer G") != std::string::npos;
  }
  EXPECT_EQ(ours, kLinesPerThread);
  EXPECT_EQ(game + NotedAsDropped(Messages(ReadLog())), kLinesPerThread);
}

// While a test holds the log, this program's CreateFileW leads through here:
// it lets the test see a writer inside the log's turn, stop it there, and
// have another program's handle let go when the first open is refused.
struct OpenWatch {
  std::atomic<DWORD> stopThread{0};
  HANDLE inTurn = nullptr;
  HANDLE goOn = nullptr;
  std::atomic<HANDLE> heldUntilRefused{nullptr};
  std::atomic<int> refused{0};
  std::atomic<int> failNext{0};  // opens to refuse as a failure of their own
  std::atomic<void*> realCreateFileW{nullptr};
} watch;

HANDLE WINAPI WatchedCreateFileW(LPCWSTR name, DWORD access, DWORD share,
                                 LPSECURITY_ATTRIBUTES security, DWORD disposition, DWORD flags,
                                 HANDLE model) {
  if (GetCurrentThreadId() == watch.stopThread.load()) {
    SetEvent(watch.inTurn);
    WaitForSingleObject(watch.goOn, INFINITE);
  }
  if (watch.failNext > 0) {
    --watch.failNext;
    SetLastError(ERROR_ACCESS_DENIED);
    return INVALID_HANDLE_VALUE;
  }
  const auto real = reinterpret_cast<decltype(&CreateFileW)>(watch.realCreateFileW.load());
  HANDLE file = real(name, access, share, security, disposition, flags, model);
  if (file == INVALID_HANDLE_VALUE && GetLastError() == ERROR_SHARING_VIOLATION) {
    ++watch.refused;
    if (HANDLE held = watch.heldUntilRefused.exchange(nullptr)) CloseHandle(held);
    SetLastError(ERROR_SHARING_VIOLATION);
  }
  return file;
}

class WatchedLogTest : public LogTest {
 protected:
  void SetUp() override {
    LogTest::SetUp();
    watch.inTurn = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    watch.goOn = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    watch.stopThread = 0;
    watch.refused = 0;
    watch.failNext = 0;
    slot_ = OwnKernel32Import("CreateFileW");
    ASSERT_NE(slot_, nullptr);
    ASSERT_TRUE(InPlace(RedirectEntry(slot_, reinterpret_cast<void*>(&WatchedCreateFileW),
                                      TableKind::kImport, &watch.realCreateFileW)));
    SetLogEnabled(true);
    WriteLogLine("[Core] before");
  }
  void TearDown() override {
    if (slot_ != nullptr)
      StoreCodePointer(slot_, watch.realCreateFileW.exchange(nullptr), TableKind::kImport);
    CloseHandle(watch.inTurn);
    CloseHandle(watch.goOn);
    LogTest::TearDown();
  }
  // Another program's handle without write sharing (a viewer, a tail tool).
  static HANDLE Hold() {
    return CreateFileA("artwheel_log.txt", GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                       FILE_ATTRIBUTE_NORMAL, nullptr);
  }
  void** slot_ = nullptr;
};

// A game thread that finds one of ours writing gives up within about 1 ms
// instead of waiting for it and hands its line over; our threads queue, keep
// every line and write the handed-over ones before their own.
TEST_F(WatchedLogTest, AGameThreadNeverWaitsBehindOurLinesAndItsLineIsWrittenByTheHolder) {
  HANDLE worker = CreateThread(nullptr, 0, LogAsOurThread, const_cast<char*>("[Core] worker"),
                               CREATE_SUSPENDED, nullptr);
  watch.stopThread = GetThreadId(worker);
  ResumeThread(worker);
  ASSERT_EQ(WaitForSingleObject(watch.inTurn, 10000), WAIT_OBJECT_0);
  HANDLE queued = Start(LogAsOurThread, "[Core] queued");
  HANDLE game = Start(LogAsGameThread, "[Core] game");
  const DWORD gameWait = WaitForSingleObject(game, 10000);
  SetEvent(watch.goOn);
  Join(worker);
  Join(queued);
  Join(game);
  EXPECT_EQ(gameWait, WAIT_OBJECT_0) << "the game thread waited for the worker's line";
  EXPECT_EQ(Messages(ReadLog()), (std::vector<std::string>{"[Core] before", "[Core] game",
                                                           "[Core] worker", "[Core] queued"}));
}

DWORD WINAPI LogManyAsGameThread(LPVOID count) {
  for (int i = 0; i < *static_cast<const int*>(count); ++i) {
    WriteLogFormat("[Core] from a game thread %d", i);
  }
  return 0;
}

// While another program holds the file a game thread's lines are handed over,
// as many as there is room for, the rest counted, and only its first line
// tries the file; ours waits for the holder to
// let go (here at our first refused open), then writes the note, the lines
// handed over and its own line.
TEST_F(WatchedLogTest, AHeldFileHandsOverAGameThreadsLinesAndOnlyDelaysOurs) {
  HANDLE held = Hold();
  ASSERT_NE(held, INVALID_HANDLE_VALUE);
  constexpr int kGameLines = 34;  // two more than the hand-over holds
  Join(Start(LogManyAsGameThread, &kGameLines));
  // Only the first line tries the file: the next ones know it is held.
  EXPECT_GE(watch.refused, 1);
  EXPECT_LE(watch.refused, kGameThreadOpenAttempts);
  watch.heldUntilRefused = held;
  const int refusedBefore = watch.refused;
  Join(Start(LogAsOurThread, "[Core] from the worker"));
  EXPECT_EQ(watch.refused, refusedBefore + 1);
  std::vector<std::string> expected = {"[Core] before", "[Log] 2 lines dropped"};
  for (int i = 0; i < kGameLines - 2; ++i) {
    expected.push_back("[Core] from a game thread " + std::to_string(i));
  }
  expected.push_back("[Core] from the worker");
  EXPECT_EQ(Messages(ReadLog()), expected);
}

DWORD WINAPI WriteWaitingAsOurThread(LPVOID) {
  MarkLogThreadPatient();
  WriteWaitingLogLines();
  return 0;
}

// Once one of ours runs, a game thread that gets the turn writes its own line
// and nothing else: the lines handed over wait for ours. One whose earlier
// line still waits hands the next over behind it, in its order.
TEST_F(WatchedLogTest, AGameThreadWithTheTurnWritesOnlyItsOwnLineAndKeepsItsOrder) {
  Join(Start(LogAsOurThread, "[Core] worker"));
  watch.failNext = 1;
  WriteLogLine("[Core] first");
  WriteLogLine("[Core] second");
  Join(Start(LogAsGameThread, "[Core] another game thread"));
  EXPECT_EQ(Messages(ReadLog()), (std::vector<std::string>{"[Core] before", "[Core] worker",
                                                           "[Core] another game thread"}));
  Join(Start(WriteWaitingAsOurThread));
  EXPECT_EQ(Messages(ReadLog()), (std::vector<std::string>{"[Core] before", "[Core] worker",
                                                           "[Core] another game thread",
                                                           "[Core] first", "[Core] second"}));
}

// A copy of the library that logs nothing more after its line was handed
// over (the second copy in a chain of proxies) writes it when it leaves.
TEST_F(WatchedLogTest, ALineHandedOverIsWrittenWhenTheLibraryLeaves) {
  HANDLE held = Hold();
  ASSERT_NE(held, INVALID_HANDLE_VALUE);
  Join(Start(LogAsGameThread, "[Core] game"));
  CloseHandle(held);
  EXPECT_EQ(Messages(ReadLog()), std::vector<std::string>{"[Core] before"});
  WriteWaitingLogLines();
  EXPECT_EQ(Messages(ReadLog()), (std::vector<std::string>{"[Core] before", "[Core] game"}));
}

}  // namespace
}  // namespace artwheel
