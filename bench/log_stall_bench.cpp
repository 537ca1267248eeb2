// What a log line costs the thread that writes it while others log too: the
// render thread writes its lines while the worker (one of ours) and an input
// thread (the game's) log in a loop, with the file free and with another
// program holding artwheel_log.txt open without write sharing (a viewer, a
// tail tool). Median, 99th percentile and worst per thread kind, and how many
// of each kind's lines reached the file.
// Run: scripts/bench.sh
#include <windows.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "base/log.h"

namespace {

constexpr int kRenderLines = 400;

std::atomic<bool> stopLoops{false};

struct Series {
  const char* kind;
  bool ours;
  bool loops;  // until the render thread is done, else kRenderLines lines
  std::vector<double> microseconds;
};

DWORD WINAPI WriteSeries(LPVOID context) {
  auto* series = static_cast<Series*>(context);
  if (series->ours) artwheel::MarkLogThreadPatient();
  series->microseconds.reserve(200000);
  LARGE_INTEGER frequency;
  QueryPerformanceFrequency(&frequency);
  for (int i = 0; series->loops ? !stopLoops.load() : i < kRenderLines; ++i) {
    LARGE_INTEGER start, end;
    QueryPerformanceCounter(&start);
    artwheel::WriteLogFormat("[Bench] %s line %d", series->kind, i);
    QueryPerformanceCounter(&end);
    series->microseconds.push_back(1e6 * double(end.QuadPart - start.QuadPart) /
                                   double(frequency.QuadPart));
  }
  return 0;
}

DWORD WINAPI WriteEndLine(LPVOID) {
  artwheel::MarkLogThreadPatient();
  artwheel::WriteLogLine("[Bench] end");
  return 0;
}

int CountInFile(const std::string& text) {
  std::ifstream in("artwheel_log.txt", std::ios::binary);
  std::stringstream all;
  all << in.rdbuf();
  const std::string log = all.str();
  int count = 0;
  for (size_t at = log.find(text); at != std::string::npos; at = log.find(text, at + 1)) ++count;
  return count;
}

// The lines the log noted as dropped ("[Log] N lines dropped"), added up.
int NotedAsDropped() {
  std::ifstream in("artwheel_log.txt", std::ios::binary);
  int dropped = 0;
  for (std::string line; std::getline(in, line);) {
    const size_t at = line.find("] [Log] ");
    if (at != std::string::npos) dropped += std::atoi(line.c_str() + at + 8);
  }
  return dropped;
}

void Report(Series& series, const char* condition) {
  std::vector<double>& t = series.microseconds;
  std::sort(t.begin(), t.end());
  const int kept = CountInFile(std::string("[Bench] ") + series.kind + " line");
  std::printf("  %-7s %-10s median %8.1f us  p99 %8.1f us  worst %8.1f us  kept %6d of %6zu\n",
              series.kind, condition, t[t.size() / 2], t[t.size() * 99 / 100], t.back(), kept,
              t.size());
}

// The render thread's lines against the two loops; the log file starts empty.
void RunContended(const char* condition, bool held) {
  DeleteFileA("artwheel_log.txt");
  HANDLE viewer = INVALID_HANDLE_VALUE;
  if (held) {
    viewer = CreateFileA("artwheel_log.txt", GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_ALWAYS,
                         FILE_ATTRIBUTE_NORMAL, nullptr);
  }
  Series series[] = {
      {"render", false, false, {}}, {"worker", true, true, {}}, {"input", false, true, {}}};
  stopLoops = false;
  HANDLE loops[2] = {CreateThread(nullptr, 0, WriteSeries, &series[1], 0, nullptr),
                     CreateThread(nullptr, 0, WriteSeries, &series[2], 0, nullptr)};
  Sleep(20);  // both loops under way
  HANDLE render = CreateThread(nullptr, 0, WriteSeries, &series[0], 0, nullptr);
  WaitForSingleObject(render, INFINITE);
  stopLoops = true;
  WaitForMultipleObjects(2, loops, TRUE, INFINITE);
  for (HANDLE thread : {render, loops[0], loops[1]}) CloseHandle(thread);
  if (viewer != INVALID_HANDLE_VALUE) CloseHandle(viewer);
  // Ours: writes the lines still handed over and the count of the last dropped.
  Series end = {"end", true, false, {}};
  HANDLE last = CreateThread(nullptr, 0, WriteEndLine, &end, 0, nullptr);
  WaitForSingleObject(last, INFINITE);
  CloseHandle(last);
  for (Series& one : series) Report(one, condition);
  std::printf("  %-7s %-10s noted as dropped %d\n", "all", condition, NotedAsDropped());
}

}  // namespace

int main() {
  char temp[MAX_PATH];
  GetTempPathA(sizeof temp, temp);
  const std::string folder = std::string(temp) + "artwheel_log_bench";
  CreateDirectoryA(folder.c_str(), nullptr);
  SetCurrentDirectoryA(folder.c_str());
  artwheel::SetLogEnabled(true);

  std::printf("One log line per call: render thread against the worker's and an input loop\n");
  RunContended("file free", false);
  RunContended("file held", true);
  DeleteFileA("artwheel_log.txt");
  return 0;
}
