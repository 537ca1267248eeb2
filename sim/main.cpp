// The host simulator: stands in for sekiro.exe. Usage: sekiro.exe [script] [results]
#include <windows.h>

#include <cstdio>

#include "desktop.h"
#include "game_input.h"
#include "game_renderer.h"
#include "game_world.h"
#include "hud_world.h"
#include "outside_views.h"
#include "pads.h"
#include "script.h"
#include "script_verbs.h"

// Exported so that every copy of the fake XInput library finds the same pads.
extern "C" {
__declspec(dllexport) SimPadState SimPadTable[kSimPadCount];
}

int main(int argc, char** argv) {
  const char* scriptPath = argc > 1 ? argv[1] : "scenario.txt";
  const char* resultsPath = argc > 2 ? argv[2] : "results.txt";
  sim::ReleaseHotkeys();
  if (!sim::CreateGameWorld()) return 3;
  sim::PrepareHudWorld();
  std::FILE* results = std::fopen(resultsPath, "w");
  if (results == nullptr) {
    std::fprintf(stderr, "sim: cannot write %s\n", resultsPath);
    return 2;
  }
  const int exitCode = sim::RunScript(scriptPath, results);
  sim::WaitUntilLogWritten(sim::script::kLogFile, 10000);
  sim::StopRendering();
  sim::WriteRenderSummary(results);
  sim::WriteRecordedCalls(results);
  std::fprintf(results, "exit %d\n", exitCode);
  std::fclose(results);
  // The library's worker never stops; leave without running its detach work.
  std::fflush(stdout);
  TerminateProcess(GetCurrentProcess(), static_cast<UINT>(exitCode));
  return exitCode;
}
