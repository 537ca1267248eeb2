#include "handle_counter.h"

#include <windows.h>
// After windows.h: _beginthreadex.
#include <process.h>

#include <atomic>
#include <cstdint>
#include <cstdio>
#include <iterator>

#include "product_imports.h"

namespace sim {
namespace {

enum Kind { kKernel, kFind, kFile, kModule, kGdi, kScreenDc, kWindow, kKindCount };
constexpr const char* kKindNames[kKindCount] = {"kernel", "find", "crtfile", "module",
                                                "gdi",    "dc",   "window"};

enum Direction { kOpens, kCloses };

// What a successful call returns: a usable handle, any non-zero value, or zero.
enum Success { kHandle, kNonZero, kZero };

struct Tally {
  std::atomic<long> opened{0};
  std::atomic<long> closed{0};
};
Tally tallies[kKindCount];

struct Counted {
  const char* name;
  void* counting;
  Kind kind;
  Direction direction;
  Success success;
  void* real;
  int index;  // the stand-in's own entry; checked against its place in the table
};

template <typename T>
uintptr_t Word(T* pointer) {
  return reinterpret_cast<uintptr_t>(pointer);
}
uintptr_t Word(uintptr_t value) { return value; }
uintptr_t Word(int value) { return static_cast<uintptr_t>(static_cast<unsigned>(value)); }

bool Succeeded(Success success, uintptr_t result) {
  switch (success) {
    case kHandle:
      return result != 0 && result != Word(INVALID_HANDLE_VALUE);
    case kNonZero:
      return result != 0;
    case kZero:
      return result == 0;
  }
  return false;
}

void Note(const Counted& c, uintptr_t result) {
  if (!Succeeded(c.success, result)) return;
  (c.direction == kOpens ? tallies[c.kind].opened : tallies[c.kind].closed).fetch_add(1);
}

extern Counted counted[];

// The stand-in for entry Index of the table: calls the real function and
// counts a successful call. On x64 every Windows and C runtime function has
// the same calling convention, so one template serves them all.
template <int Index, typename R, typename... A>
R CountingCall(A... args) {
  const R result = reinterpret_cast<R (*)(A...)>(counted[Index].real)(args...);
  Note(counted[Index], Word(result));
  return result;
}

// A table entry whose stand-in calls the real function through entry Index.
template <int Index, typename R, typename... A>
Counted Entry(const char* name, R (*)(A...), Kind kind, Direction direction, Success success) {
  return {name,    reinterpret_cast<void*>(&CountingCall<Index, R, A...>),
          kind,    direction,
          success, nullptr,
          Index};
}

// GetModuleHandleEx takes a module reference unless told not to.
template <int Index>
BOOL WINAPI CountingGetModuleHandleEx(DWORD flags, const void* name, HMODULE* module) {
  using Fn = BOOL(WINAPI*)(DWORD, const void*, HMODULE*);
  const BOOL result = reinterpret_cast<Fn>(counted[Index].real)(flags, name, module);
  if ((flags & GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT) == 0)
    Note(counted[Index], Word(result));
  return result;
}

// DuplicateHandle makes a handle when asked for one, and may close its source.
template <int Index>
BOOL WINAPI CountingDuplicateHandle(HANDLE sourceProcess, HANDLE source, HANDLE targetProcess,
                                    HANDLE* target, DWORD access, BOOL inherit, DWORD options) {
  using Fn = BOOL(WINAPI*)(HANDLE, HANDLE, HANDLE, HANDLE*, DWORD, BOOL, DWORD);
  const BOOL result = reinterpret_cast<Fn>(counted[Index].real)(
      sourceProcess, source, targetProcess, target, access, inherit, options);
  if (result != 0 && target != nullptr) ++tallies[kKernel].opened;
  if (result != 0 && (options & DUPLICATE_CLOSE_SOURCE) != 0) ++tallies[kKernel].closed;
  return result;
}

template <int Index, typename Function>
Counted Special(const char* name, Function* standIn, Kind kind) {
  return {name, reinterpret_cast<void*>(standIn), kind, kOpens, kNonZero, nullptr, Index};
}

Counted counted[] = {
    Entry<0>("CreateFileA", &CreateFileA, kKernel, kOpens, kHandle),
    Entry<1>("CreateFileW", &CreateFileW, kKernel, kOpens, kHandle),
    Entry<2>("CreateMutexA", &CreateMutexA, kKernel, kOpens, kHandle),
    Entry<3>("CreateMutexW", &CreateMutexW, kKernel, kOpens, kHandle),
    Entry<4>("CreateEventA", &CreateEventA, kKernel, kOpens, kHandle),
    Entry<5>("CreateEventW", &CreateEventW, kKernel, kOpens, kHandle),
    Entry<6>("CreateThread", &CreateThread, kKernel, kOpens, kHandle),
    Entry<7>("OpenProcess", &OpenProcess, kKernel, kOpens, kHandle),
    Entry<8>("OpenThread", &OpenThread, kKernel, kOpens, kHandle),
    Entry<9>("CreateFileMappingA", &CreateFileMappingA, kKernel, kOpens, kHandle),
    Entry<10>("CreateFileMappingW", &CreateFileMappingW, kKernel, kOpens, kHandle),
    Entry<11>("CreateSemaphoreA", &CreateSemaphoreA, kKernel, kOpens, kHandle),
    Entry<12>("CreateSemaphoreW", &CreateSemaphoreW, kKernel, kOpens, kHandle),
    Entry<13>("_beginthreadex", &_beginthreadex, kKernel, kOpens, kHandle),
    Special<14>("DuplicateHandle", &CountingDuplicateHandle<14>, kKernel),
    Entry<15>("CloseHandle", &CloseHandle, kKernel, kCloses, kNonZero),
    Entry<16>("FindFirstFileA", &FindFirstFileA, kFind, kOpens, kHandle),
    Entry<17>("FindFirstFileW", &FindFirstFileW, kFind, kOpens, kHandle),
    Entry<18>("FindClose", &FindClose, kFind, kCloses, kNonZero),
    Entry<19>("fopen", &fopen, kFile, kOpens, kNonZero),
    Entry<20>("_wfopen", &_wfopen, kFile, kOpens, kNonZero),
    Entry<21>("fclose", &fclose, kFile, kCloses, kZero),
    Entry<22>("LoadLibraryA", &LoadLibraryA, kModule, kOpens, kNonZero),
    Entry<23>("LoadLibraryW", &LoadLibraryW, kModule, kOpens, kNonZero),
    Entry<24>("LoadLibraryExA", &LoadLibraryExA, kModule, kOpens, kNonZero),
    Entry<25>("LoadLibraryExW", &LoadLibraryExW, kModule, kOpens, kNonZero),
    Special<26>("GetModuleHandleExA", &CountingGetModuleHandleEx<26>, kModule),
    Special<27>("GetModuleHandleExW", &CountingGetModuleHandleEx<27>, kModule),
    Entry<28>("FreeLibrary", &FreeLibrary, kModule, kCloses, kNonZero),
    Entry<29>("CreateCompatibleDC", &CreateCompatibleDC, kGdi, kOpens, kNonZero),
    Entry<30>("CreateDIBSection", &CreateDIBSection, kGdi, kOpens, kNonZero),
    Entry<31>("CreateCompatibleBitmap", &CreateCompatibleBitmap, kGdi, kOpens, kNonZero),
    Entry<32>("CreateSolidBrush", &CreateSolidBrush, kGdi, kOpens, kNonZero),
    Entry<33>("CreateFontW", &CreateFontW, kGdi, kOpens, kNonZero),
    Entry<34>("CreateFontA", &CreateFontA, kGdi, kOpens, kNonZero),
    Entry<35>("CreateFontIndirectW", &CreateFontIndirectW, kGdi, kOpens, kNonZero),
    Entry<36>("DeleteObject", &DeleteObject, kGdi, kCloses, kNonZero),
    Entry<37>("DeleteDC", &DeleteDC, kGdi, kCloses, kNonZero),
    Entry<38>("GetDC", &GetDC, kScreenDc, kOpens, kNonZero),
    Entry<39>("ReleaseDC", &ReleaseDC, kScreenDc, kCloses, kNonZero),
    Entry<40>("CreateWindowExA", &CreateWindowExA, kWindow, kOpens, kNonZero),
    Entry<41>("CreateWindowExW", &CreateWindowExW, kWindow, kOpens, kNonZero),
    Entry<42>("DestroyWindow", &DestroyWindow, kWindow, kCloses, kNonZero),
};
constexpr int kCountedCount = static_cast<int>(std::size(counted));

long Held(Kind kind) { return tallies[kind].opened.load() - tallies[kind].closed.load(); }

}  // namespace

void StartCountingHandles(std::FILE* results) {
  static bool started = false;
  if (!started) {
    started = true;
    ImportReplacement replacements[kCountedCount];
    for (int i = 0; i < kCountedCount; ++i) {
      if (counted[i].index != i) {
        std::fprintf(results, "handles error: entry %s has index %d at %d\n", counted[i].name,
                     counted[i].index, i);
        return;
      }
      replacements[i] = {counted[i].name, counted[i].counting, &counted[i].real};
    }
    std::fprintf(results, "handles counting imports=%d:",
                 RedirectProductImports(replacements, kCountedCount));
    for (const Counted& c : counted) {
      if (c.real != nullptr) std::fprintf(results, " %s", c.name);
    }
    std::fprintf(results, "\n");
  }
}

void ReportHandles(std::FILE* results, const char* label) {
  long held[kKindCount];
  for (int kind = 0; kind < kKindCount; ++kind) held[kind] = Held(static_cast<Kind>(kind));
  for (int sample = 0; sample < 50; ++sample) {
    Sleep(5);
    for (int kind = 0; kind < kKindCount; ++kind) {
      const long now = Held(static_cast<Kind>(kind));
      if (now < held[kind]) held[kind] = now;
    }
  }
  std::fprintf(results, "handles %s", label);
  for (int kind = 0; kind < kKindCount; ++kind) {
    std::fprintf(results, " %s=%ld/%ld/%ld", kKindNames[kind], tallies[kind].opened.load(),
                 tallies[kind].closed.load(), held[kind]);
  }
  std::fprintf(results, "\n");
}

}  // namespace sim
