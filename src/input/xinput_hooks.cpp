#include "input/xinput_hooks.h"

#include <psapi.h>

#include <cstddef>
#include <cstring>

#include "base/ini_text.h"
#include "base/log.h"
#include "base/patch.h"
#include "base/pe_image.h"
#include "base/wide_path.h"
#include "game/host_name.h"
#include "input/combo.h"
#include "input/menu_gate.h"
#include "input/xinput_libraries.h"

namespace artwheel {

Hook xinputGetStateHook{
    "XInputGetState",
    TableKind::kImport,
    0,
    &XInputGetStateDetour,
    1,
    HookLines{"", "[Input] VirtualProtect failed while hooking XInputGetState"}};
Hook getProcAddressHook{"GetProcAddress",      TableKind::kImport, 0, &GetProcAddressDetour, 1,
                        HookLines{"", nullptr}};

GameReadNotes gameReadNotes;

namespace {

constexpr DWORD kMaxModules = 1024;

bool xinputImportsHooked = false;
bool xinputNotFoundLogged = false;
bool getProcAddressImportsHooked = false;

bool IsXInputDll(const char* dllName) {
  return EqualsIgnoreCaseAscii(std::string_view(dllName).substr(0, 6), "xinput");
}

bool IsKernelDll(const char* dllName) {
  return EqualsIgnoreCaseAscii(dllName, "kernel32.dll") ||
         EqualsIgnoreCaseAscii(dllName, "kernelbase.dll");
}

bool IsKnownXInputEntry(void* value) {
  for (uint32_t i = 0; i < XInputLibraries.count; ++i) {
    if (reinterpret_cast<void*>(XInputLibraries.entries[i]) == value) return true;
  }
  return false;
}

// Counts the entries redirected now; the sweep's line sums them up.
void RedirectImportEntry(Hook& hook, void** slot, void* context) {
  const PatchStatus status = hook.RedirectImport(slot);
  ReportRedirect(hook, status);
  if (status == PatchStatus::kRedirected) ++*static_cast<int*>(context);
}

void RedirectXInputEntry(const ImportEntry& entry, void* context) {
  const bool matches = IsKnownXInputEntry(*entry.slot) ||
                       (entry.name != nullptr && std::strcmp(entry.name, "XInputGetState") == 0);
  if (matches) RedirectImportEntry(xinputGetStateHook, entry.slot, context);
}

void RedirectGetProcAddressEntry(const ImportEntry& entry, void* context) {
  if (entry.name == nullptr || std::strcmp(entry.name, "GetProcAddress") != 0) return;
  RedirectImportEntry(getProcAddressHook, entry.slot, context);
}

// The host executable, and the modules named DINPUT8.dll (this library and
// the system's), are the ones that look XInputGetState up at run time.
bool IsGetProcAddressHookTarget(HMODULE module) {
  char path[kUtf8PathSize] = {};
  const char* name = "<unknown>";
  const size_t length = ModuleFileNameUtf8(module, path, sizeof path);
  if (length != 0 && length < sizeof path) {
    const char* slash = std::strrchr(path, '\\');
    name = slash != nullptr ? slash + 1 : path;
  }
  return EqualsIgnoreCaseAscii(name, kHostExecutableName) ||
         EqualsIgnoreCaseAscii(name, "DINPUT8.dll");
}

// Fills `modules`; the count, or -1 when the listing fails.
int ListModules(HMODULE (&modules)[kMaxModules]) {
  DWORD needed = 0;
  if (!K32EnumProcessModules(GetCurrentProcess(), modules, sizeof modules, &needed)) return -1;
  const DWORD count = needed / sizeof(HMODULE);
  return static_cast<int>(count < kMaxModules ? count : kMaxModules);
}

// Whether a good read of `index` needs more than the note: a combination
// button is down on a filtered pad, or its guard is still on, or the settings
// menu keeps something of a pad. A few relaxed loads, no call.
bool ReadNeedsFiltering(DWORD index, uint16_t buttons) {
  if ((FilteredPadSet() & PadBit(static_cast<int>(index))) != 0 &&
      ((buttons & CombinationButtons()) != 0 ||
       comboGuards[index].suppressActive.load(std::memory_order_relaxed))) {
    return true;
  }
  return MenuGateHoldsPads(menuGate);
}

// Out of line, so that a read with a combination down does not build the
// menu's fields on its way.
[[gnu::noinline]] void FilterMenuRead(DWORD index, XINPUT_GAMEPAD& pad) {
  static_assert(offsetof(XINPUT_GAMEPAD, sThumbRY) == offsetof(XINPUT_GAMEPAD, sThumbLX) + 6,
                "the four thumb axes follow each other");
  FilterMenuPad(menuGate, static_cast<int>(index),
                PadFields{&pad.wButtons, &pad.bLeftTrigger, &pad.bRightTrigger, &pad.sThumbLX});
}

// The rare part of a read, out of line so that the common one stays a short
// function that saves no registers of its own.
[[gnu::noinline]] void FilterPadRead(DWORD index, XINPUT_GAMEPAD& pad) {
  if ((FilteredPadSet() & PadBit(static_cast<int>(index))) != 0) {
    pad.wButtons =
        FilterGameButtons(comboGuards[index], pad.wButtons, [] { return GetTickCount64(); });
  }
  if (MenuGateHoldsPads(menuGate)) FilterMenuRead(index, pad);
}

}  // namespace

DWORD WINAPI XInputGetStateDetour(DWORD userIndex, XINPUT_STATE* state) {
  const auto real = xinputGetStateHook.Original<XInputGetStateFn>();
  if (real == nullptr) return ERROR_DEVICE_NOT_CONNECTED;
  const DWORD result = real(userIndex, state);
  if (result != ERROR_SUCCESS || state == nullptr || userIndex >= kPadCount) return result;
  NoteGameReadOf(gameReadNotes, userIndex);  // the worker follows the pads the game reads
  if (ReadNeedsFiltering(userIndex, state->Gamepad.wButtons)) {
    FilterPadRead(userIndex, state->Gamepad);
  }
  return ERROR_SUCCESS;
}

FARPROC WINAPI GetProcAddressDetour(HMODULE module, LPCSTR name) {
  const auto real = getProcAddressHook.Original<GetProcAddressFn>();
  const FARPROC result = real != nullptr ? real(module, name) : nullptr;
  if (reinterpret_cast<ULONG_PTR>(name) < 0x10000) return result;  // by ordinal
  if (std::strcmp(name, "XInputGetState") != 0) return result;
  return reinterpret_cast<FARPROC>(xinputGetStateHook.detour());
}

int HookXInputImports(HMODULE module) {
  int redirected = 0;
  ForEachImport(module, &IsXInputDll, &RedirectXInputEntry, &redirected);
  return redirected;
}

int HookGetProcAddressImports(HMODULE module) {
  if (module == nullptr || getProcAddressHook.Original<GetProcAddressFn>() == nullptr) return 0;
  if (!IsGetProcAddressHookTarget(module)) return 0;
  int redirected = 0;
  ForEachImport(module, &IsKernelDll, &RedirectGetProcAddressEntry, &redirected);
  return redirected;
}

bool InstallGetProcAddressImportHooks() {
  if (getProcAddressHook.Original<GetProcAddressFn>() == nullptr) return false;
  HMODULE modules[kMaxModules];
  const int count = ListModules(modules);
  if (count < 0) return getProcAddressImportsHooked;
  int redirected = 0;
  for (int i = 0; i < count; ++i) redirected += HookGetProcAddressImports(modules[i]);
  if (redirected == 0) return getProcAddressImportsHooked;
  getProcAddressImportsHooked = true;
  WriteLogFormat("[Input] Hooked %d GetProcAddress import(s)", redirected);
  return true;
}

bool InstallXInputImportHooks() {
  HMODULE modules[kMaxModules];
  const int count = ListModules(modules);
  int redirected = 0;
  if (count < 0) {
    redirected = HookXInputImports(GetModuleHandleA(nullptr));
  } else {
    for (int i = 0; i < count; ++i) redirected += HookXInputImports(modules[i]);
  }
  if (redirected > 0) {
    xinputImportsHooked = true;
    xinputNotFoundLogged = false;
    WriteLogFormat("[Input] Hooked %d XInputGetState import(s)", redirected);
    return true;
  }
  if (!xinputImportsHooked && !xinputNotFoundLogged) {
    WriteLogLine("[Input] XInputGetState IAT import not found yet");
    xinputNotFoundLogged = true;
  }
  return false;
}

}  // namespace artwheel
