// The timeline's verbs of the game's process and folder as others see them:
// the handles and allocations of artwheel's DLL, the process's memory, a log
// viewer, files and artwheel.ini edited by the player, the modules loaded and
// the lookups through them.
#include <windows.h>

#include <cstring>

#include "alloc_counter.h"
#include "file_version.h"
#include "handle_counter.h"
#include "lookups.h"
#include "outside_views.h"
#include "script_verbs.h"

namespace sim::script {
namespace {

void CountHandles(const Line&, std::FILE* results) { StartCountingHandles(results); }

// handles LABEL
void WriteHandles(const Line& line, std::FILE* results) { ReportHandles(results, Word(line, 1)); }

void CountAllocations(const Line&, std::FILE* results) { StartCountingAllocations(results); }

// allocs LABEL
void WriteAllocations(const Line& line, std::FILE* results) {
  StopCountingAllocations(results, Word(line, 1));
}

// memory LABEL
void WriteMemory(const Line& line, std::FILE* results) { ReportMemory(results, Word(line, 1)); }

// holdlog MS
void HoldLogLikeViewer(const Line& line, std::FILE* results) {
  HoldLogOpen(results, kLogFile, Number(Word(line, 1)));
}

void WriteLogViewers(const Line&, std::FILE* results) { ReportLogViewers(results); }

// copyfile FROM TO: the player replaces a file of the game's folder.
void CopyGameFile(const Line& line, std::FILE* results) {
  std::fprintf(results, "copyfile %s %s\n", Word(line, 2),
               CopyFileA(Word(line, 1), Word(line, 2), FALSE) ? "ok" : "error");
}

// lockfile FILE: another program opens the file and lets others only read it,
// until the game ends.
void LockGameFile(const Line& line, std::FILE* results) {
  HANDLE file = CreateFileA(Word(line, 1), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  std::fprintf(results, "lockfile %s %s\n", Word(line, 1),
               file != INVALID_HANDLE_VALUE ? "ok" : "error");
}

// The game's folder is the current one, whatever its name: the relative path
// never passes through the code page.
constexpr char kIniInGameFolder[] = ".\\artwheel.ini";

// inikey SECTION KEY VALUE: the player edits artwheel.ini while the game runs.
void WriteIniKey(const Line& line, std::FILE*) {
  WritePrivateProfileStringA(Word(line, 1), Word(line, 2), Word(line, 3), kIniInGameFolder);
}

// waitini SECTION KEY VALUE
void WaitForIniValue(const Line& line, std::FILE* results) {
  const char* section = Word(line, 1);
  const char* key = Word(line, 2);
  const char* wanted = Word(line, 3);
  char value[64];
  if (!WaitFor([&] {
        GetPrivateProfileStringA(section, key, "", value, sizeof value, kIniInGameFolder);
        return std::strcmp(value, wanted) == 0;
      })) {
    std::fprintf(results, "timeout waitini %s %s %s\n", section, key, wanted);
  }
}

// procaddr MODULE NAME|#ORDINAL [LABEL]
void LookUpProcedureAddress(const Line& line, std::FILE* results) {
  LookUpProcedure(results, Word(line, 1), Word(line, 2), Word(line, 3));
}

// readvia LIBRARY LABEL
void ReadPadThroughHelper(const Line& line, std::FILE* results) {
  ReadPadThroughLibrary(results, Word(line, 1), Word(line, 2));
}

// loaddll NAME
void LoadLibraryByName(const Line& line, std::FILE* results) {
  HMODULE module = LoadLibraryA(Word(line, 1));
  std::fprintf(results, "loaddll %s %s %lu\n", Word(line, 1), module != nullptr ? "ok" : "error",
               module != nullptr ? 0UL : GetLastError());
}

// fileversion FILE LABEL
void WriteFileVersionOf(const Line& line, std::FILE* results) {
  WriteFileVersion(results, Word(line, 1), Word(line, 2));
}

constexpr Verb kVerbs[] = {
    {"counthandles", CountHandles},
    {"handles", WriteHandles},
    {"countallocs", CountAllocations},
    {"allocs", WriteAllocations},
    {"memory", WriteMemory},
    {"holdlog", HoldLogLikeViewer},
    {"logviewers", WriteLogViewers},
    {"copyfile", CopyGameFile},
    {"lockfile", LockGameFile},
    {"inikey", WriteIniKey},
    {"waitini", WaitForIniValue},
    {"procaddr", LookUpProcedureAddress},
    {"readvia", ReadPadThroughHelper},
    {"loaddll", LoadLibraryByName},
    {"fileversion", WriteFileVersionOf},
};

}  // namespace

std::span<const Verb> HostVerbs() { return kVerbs; }

}  // namespace sim::script
