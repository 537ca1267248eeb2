#include "script.h"

#include <windows.h>

#include <cstdlib>
#include <cstring>

#include "desktop.h"
#include "script_verbs.h"

namespace sim {
namespace script {

const char* Word(const Line& line, int index) {
  return line.count > index ? line.words[index] : "";
}

const char* AfterFirstArgument(const Line& line) {
  const char* text = line.rest + std::strcspn(line.rest, " \t");
  return text + std::strspn(text, " \t");
}

uint32_t Number(const char* text) { return static_cast<uint32_t>(std::strtoul(text, nullptr, 0)); }

int CountInLog(const char* text) {
  HANDLE file =
      CreateFileA(kLogFile, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                  nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return 0;
  static char buffer[4 << 20];
  DWORD got = 0;
  ReadFile(file, buffer, sizeof buffer - 1, &got, nullptr);
  CloseHandle(file);
  buffer[got] = '\0';
  int count = 0;
  const size_t length = std::strlen(text);
  for (const char* at = std::strstr(buffer, text); at != nullptr && length > 0;
       at = std::strstr(at + length, text)) {
    ++count;
  }
  return count;
}

namespace {

// The timeline's own state: when it began, and the exit code once it ends.
ULONGLONG timelineStart = 0;
int exitCode = 0;
bool running = true;

bool SplitLine(char* raw, Line& line) {
  raw[strcspn(raw, "\r\n")] = '\0';
  std::snprintf(line.text, sizeof line.text, "%s", raw);
  char* start = line.text;
  while (*start == ' ' || *start == '\t') ++start;
  if (*start == '\0' || *start == '#') return false;
  line.count = 0;
  const char* afterCommand = start + strcspn(start, " \t");
  afterCommand += strspn(afterCommand, " \t");
  std::snprintf(line.rest, sizeof line.rest, "%s", afterCommand);
  char* cursor = start;
  while (*cursor != '\0' && line.count < 8) {
    line.words[line.count++] = cursor;
    while (*cursor != '\0' && *cursor != ' ' && *cursor != '\t') ++cursor;
    if (*cursor == '\0') break;
    *cursor++ = '\0';
    while (*cursor == ' ' || *cursor == '\t') ++cursor;
  }
  return line.count > 0;
}

// wait MS
void PumpForMilliseconds(const Line& line, std::FILE*) { PumpMessagesFor(Number(Word(line, 1))); }

// at MS: MS after the timeline began
void WaitUntilTimelineAt(const Line& line, std::FILE*) {
  const ULONGLONG due = timelineStart + Number(Word(line, 1));
  const ULONGLONG now = GetTickCount64();
  if (due > now) PumpMessagesFor(static_cast<DWORD>(due - now));
}

// clock LABEL: the time since the timeline began
void WriteClock(const Line& line, std::FILE* results) {
  std::fprintf(results, "clock %s ms=%llu\n", Word(line, 1), GetTickCount64() - timelineStart);
}

// waitlog TEXT
void WaitForLogText(const Line& line, std::FILE* results) {
  const char* text = line.rest;
  if (!WaitFor([&] { return CountInLog(text) > 0; })) {
    std::fprintf(results, "timeout waitlog %s\n", text);
  }
}

// waitlogn N TEXT
void WaitForLogTextCount(const Line& line, std::FILE* results) {
  const int wanted = static_cast<int>(Number(Word(line, 1)));
  const char* text = AfterFirstArgument(line);
  if (!WaitFor([&] { return CountInLog(text) >= wanted; })) {
    std::fprintf(results, "timeout waitlogn %d %s\n", wanted, text);
  }
}

// exit CODE: the timeline ends here
void EndTimeline(const Line& line, std::FILE*) {
  exitCode = static_cast<int>(Number(Word(line, 1)));
  running = false;
}

constexpr Verb kTimelineVerbs[] = {
    // Waits and the clock.
    {"wait", PumpForMilliseconds},
    {"at", WaitUntilTimelineAt},
    {"clock", WriteClock},
    // Waits for the log.
    {"waitlog", WaitForLogText},
    {"waitlogn", WaitForLogTextCount},
    // The timeline's end.
    {"exit", EndTimeline},
};

VerbHandler FindVerb(const char* name) {
  const std::span<const Verb> tables[] = {kTimelineVerbs, GameVerbs(), InputVerbs(), RenderVerbs(),
                                          HostVerbs()};
  for (const std::span<const Verb> table : tables) {
    for (const Verb& verb : table) {
      if (std::strcmp(verb.name, name) == 0) return verb.handler;
    }
  }
  return nullptr;
}

// Runs the timeline's lines in order until its end or its exit verb.
int RunTimeline(std::FILE* file, std::FILE* results) {
  timelineStart = GetTickCount64();
  exitCode = 0;
  running = true;
  char raw[1024];
  while (running && std::fgets(raw, sizeof raw, file) != nullptr) {
    Line line = {};
    if (!SplitLine(raw, line)) continue;
    const char* command = line.words[0];
    if (const VerbHandler handler = FindVerb(command)) {
      handler(line, results);
    } else {
      std::fprintf(results, "error unknown command %s\n", command);
    }
    std::fflush(results);
  }
  return exitCode;
}

}  // namespace
}  // namespace script

int RunScript(const char* scriptPath, std::FILE* results) {
  std::FILE* file = std::fopen(scriptPath, "r");
  if (file == nullptr) {
    std::fprintf(stderr, "sim: cannot open script %s\n", scriptPath);
    return 2;
  }
  const int exitCode = script::RunTimeline(file, results);
  std::fclose(file);
  return exitCode;
}

}  // namespace sim
