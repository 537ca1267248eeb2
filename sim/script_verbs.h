#pragma once
// The timeline's verbs: each a small handler of the line's words, found by
// its name in the tables of the script's files.
#include <windows.h>

#include <cstdint>
#include <cstdio>
#include <span>

#include "desktop.h"

namespace sim::script {

constexpr DWORD kWaitTimeoutMs = 10000;
constexpr char kLogFile[] = "artwheel_log.txt";

// One line of the timeline, split into words; the first is the verb.
struct Line {
  char text[1024];
  char* words[8];
  int count;
  char rest[1024];  // the text after the first word, for commands that take free text
};

// Word `index` of the line, "" when the line has fewer.
const char* Word(const Line& line, int index);
// The free text after the command's first argument.
const char* AfterFirstArgument(const Line& line);
uint32_t Number(const char* text);

// Counts the occurrences of text in the log, read with every sharing mode so
// that the library's own appends are never refused.
int CountInLog(const char* text);

template <typename Condition>
bool WaitFor(Condition condition) {
  const ULONGLONG deadline = GetTickCount64() + kWaitTimeoutMs;
  while (!condition()) {
    if (GetTickCount64() > deadline) return false;
    PumpMessagesFor(5);
  }
  return true;
}

using VerbHandler = void (*)(const Line& line, std::FILE* results);

struct Verb {
  const char* name;
  VerbHandler handler;
};

// The verbs of the game's world, its pads and equip calls (script_game_verbs.cpp).
std::span<const Verb> GameVerbs();
// The verbs of the keyboard and DirectInput (script_input_verbs.cpp).
std::span<const Verb> InputVerbs();
// The verbs of the game's rendering (script_render_verbs.cpp).
std::span<const Verb> RenderVerbs();
// The verbs of the process as others see it: its handles, memory, files,
// modules and log (script_host_verbs.cpp).
std::span<const Verb> HostVerbs();

}  // namespace sim::script
