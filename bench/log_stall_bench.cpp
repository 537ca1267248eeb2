// What a log line costs the thread that writes it while another program holds
// artwheel_log.txt open without write sharing (a viewer, a tail tool): the
// worst case, the 99th percentile and the median per thread kind. Game threads (render, input,
// loading) run the same code; each is measured on a thread of its own.
// Run: scripts/bench.sh
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "base/log.h"

namespace {

struct Series {
  const char* kind;
  bool worker;
  int lines;
  std::vector<double> microseconds;
};

DWORD WINAPI WriteSeries(LPVOID context) {
  auto* series = static_cast<Series*>(context);
  if (series->worker) artwheel::MarkLogThreadPatient();
  LARGE_INTEGER frequency;
  QueryPerformanceFrequency(&frequency);
  for (int i = 0; i < series->lines; ++i) {
    LARGE_INTEGER start, end;
    QueryPerformanceCounter(&start);
    artwheel::WriteLogFormat("[Bench] %s line %d", series->kind, i);
    QueryPerformanceCounter(&end);
    series->microseconds.push_back(1e6 * double(end.QuadPart - start.QuadPart) /
                                   double(frequency.QuadPart));
  }
  return 0;
}

void Run(Series& series, const char* condition) {
  HANDLE thread = CreateThread(nullptr, 0, WriteSeries, &series, 0, nullptr);
  WaitForSingleObject(thread, INFINITE);
  CloseHandle(thread);
  std::vector<double>& t = series.microseconds;
  std::sort(t.begin(), t.end());
  std::printf("  %-8s %-10s lines=%4d  median %8.1f us  p99 %8.1f us  worst %8.1f us\n",
              series.kind, condition, series.lines, t[t.size() / 2], t[t.size() * 99 / 100],
              t.back());
}

}  // namespace

int main() {
  char temp[MAX_PATH];
  GetTempPathA(sizeof temp, temp);
  const std::string folder = std::string(temp) + "artwheel_log_bench";
  CreateDirectoryA(folder.c_str(), nullptr);
  SetCurrentDirectoryA(folder.c_str());
  DeleteFileA("artwheel_log.txt");
  artwheel::SetLogEnabled(true);

  std::printf("One log line per call, by thread kind\n");
  Series unheld[] = {{"render", false, 300, {}}, {"worker", true, 300, {}}};
  for (Series& series : unheld) Run(series, "file free");

  HANDLE viewer = CreateFileA("artwheel_log.txt", GENERIC_READ, FILE_SHARE_READ, nullptr,
                              OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (viewer == INVALID_HANDLE_VALUE) {
    std::puts("could not hold the log file");
    return 1;
  }
  Series held[] = {{"render", false, 300, {}},
                   {"input", false, 300, {}},
                   {"loading", false, 300, {}},
                   {"worker", true, 30, {}}};
  for (Series& series : held) Run(series, "file held");
  CloseHandle(viewer);
  DeleteFileA("artwheel_log.txt");
  return 0;
}
