#include "lookups.h"

#include <windows.h>
#include <xinput.h>

#include <cstdlib>
#include <cstring>

#include "game_renderer.h"

namespace sim {
namespace {

// The module's true export, read from its export directory without GetProcAddress.
void* ExportByWalk(HMODULE module, const char* name, WORD ordinal) {
  const auto* base = reinterpret_cast<const unsigned char*>(module);
  const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(base);
  const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS64*>(base + dos->e_lfanew);
  const IMAGE_DATA_DIRECTORY& entry =
      nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_EXPORT];
  if (entry.VirtualAddress == 0) return nullptr;
  const auto* exports =
      reinterpret_cast<const IMAGE_EXPORT_DIRECTORY*>(base + entry.VirtualAddress);
  const auto* functions = reinterpret_cast<const DWORD*>(base + exports->AddressOfFunctions);
  if (name == nullptr) {
    const DWORD index = ordinal - exports->Base;
    return index < exports->NumberOfFunctions ? const_cast<unsigned char*>(base) + functions[index]
                                              : nullptr;
  }
  const auto* names = reinterpret_cast<const DWORD*>(base + exports->AddressOfNames);
  const auto* ordinals = reinterpret_cast<const WORD*>(base + exports->AddressOfNameOrdinals);
  for (DWORD i = 0; i < exports->NumberOfNames; ++i) {
    if (std::strcmp(reinterpret_cast<const char*>(base + names[i]), name) == 0) {
      return const_cast<unsigned char*>(base) + functions[ordinals[i]];
    }
  }
  return nullptr;
}

// "game:NAME" for a module in the game's folder, "system:NAME" for others.
void DescribeOwner(void* address, char* out, size_t size) {
  HMODULE owner = nullptr;
  char path[MAX_PATH] = {};
  char folder[MAX_PATH] = {};
  if (!GetModuleHandleExA(
          GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
          static_cast<LPCSTR>(address), &owner) ||
      GetModuleFileNameA(owner, path, sizeof path) == 0) {
    std::snprintf(out, size, "unknown");
    return;
  }
  GetCurrentDirectoryA(sizeof folder, folder);
  const char* slash = std::strrchr(path, '\\');
  const bool inGame = _strnicmp(path, folder, std::strlen(folder)) == 0;
  std::snprintf(out, size, "%s:%s", inGame ? "game" : "system",
                slash != nullptr ? slash + 1 : path);
  CharLowerA(out);
}

// Wine marks its own PE libraries right after the DOS header.
bool IsWineBuiltin(void* address) {
  HMODULE owner = nullptr;
  if (!GetModuleHandleExA(
          GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
          static_cast<LPCSTR>(address), &owner)) {
    return false;
  }
  static constexpr char kMarker[] = "Wine builtin DLL";
  return std::memcmp(reinterpret_cast<const char*>(owner) + 0x40, kMarker, sizeof kMarker - 1) == 0;
}

void DescribeD3DModule(std::FILE* results, const char* label, void* address) {
  char owner[MAX_PATH + 16] = "none";
  if (address != nullptr) DescribeOwner(address, owner, sizeof owner);
  std::fprintf(results, "d3dmodule %s %s wine_builtin=%d\n", label, owner,
               address != nullptr && IsWineBuiltin(address) ? 1 : 0);
}

}  // namespace

void DescribeD3DModules(std::FILE* results) {
  constexpr int kPresentSlot = 8;
  constexpr int kGetBufferSlot = 9;
  DescribeD3DModule(results, "d3d11",
                    reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("d3d11.dll"),
                                                           "D3D11CreateDeviceAndSwapChain")));
  DescribeD3DModule(results, "present", GameSwapChainMethod(kPresentSlot));
  DescribeD3DModule(results, "getbuffer", GameSwapChainMethod(kGetBufferSlot));
}

void LookUpProcedure(std::FILE* results, const char* module, const char* name, const char* label) {
  HMODULE handle = GetModuleHandleA(module);
  if (handle == nullptr) handle = LoadLibraryA(module);
  const bool byOrdinal = name[0] == '#';
  const WORD ordinal = byOrdinal ? static_cast<WORD>(std::strtoul(name + 1, nullptr, 10)) : 0;
  const LPCSTR query = byOrdinal ? MAKEINTRESOURCEA(ordinal) : name;
  void* answer = reinterpret_cast<void*>(GetProcAddress(handle, query));
  if (answer == nullptr) {
    std::fprintf(results, "procaddr %s null\n", label);
  } else if (handle != nullptr &&
             answer == ExportByWalk(handle, byOrdinal ? nullptr : name, ordinal)) {
    std::fprintf(results, "procaddr %s real\n", label);
  } else {
    char owner[MAX_PATH + 16];
    DescribeOwner(answer, owner, sizeof owner);
    std::fprintf(results, "procaddr %s %s\n", label, owner);
  }
}

void ReadPadThroughLibrary(std::FILE* results, const char* library, const char* label) {
  using ReadFn = DWORD(WINAPI*)(DWORD, XINPUT_STATE*);
  HMODULE module = LoadLibraryA(library);
  const auto read = module != nullptr ? reinterpret_cast<ReadFn>(reinterpret_cast<void*>(
                                            GetProcAddress(module, "ReadPadThroughOrdinalImport")))
                                      : nullptr;
  if (read == nullptr) {
    std::fprintf(results, "readvia %s missing\n", label);
    return;
  }
  XINPUT_STATE state = {};
  const DWORD rc = read(0, &state);
  std::fprintf(results, "readvia %s rc=%lu buttons=0x%04X\n", label, rc, state.Gamepad.wButtons);
}

}  // namespace sim
