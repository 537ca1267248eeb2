#include "app/loaded_as.h"

#include <atomic>
#include <string_view>

#include "base/log.h"
#include "base/patch.h"
#include "base/wide_path.h"
#include "game/host_name.h"
#include "input/dinput_own_objects.h"

namespace artwheel {
namespace {

std::atomic<bool> exportCalled{false};

// Whatever module answers to the name: the system's or another proxy.
bool IsProcessDinput8(HMODULE module) { return GetModuleHandleW(L"dinput8.dll") == module; }

// The module's path in UTF-8; "?" when it cannot be read.
void ModulePathUtf8(HMODULE module, char* out, size_t size) {
  const size_t length = ModuleFileNameUtf8(module, out, size);
  if (length == 0 || length >= size) lstrcpynA(out, "?", static_cast<int>(size));
}

// The wide object's record is its own: "already redirected" there means its
// table is the first interface's, which the line has always said in words of its own.
const char* DescribeWide(PatchStatus status) {
  return status == PatchStatus::kAlreadyRedirected ? "shares the other's table"
                                                   : PatchStatusText(status);
}

}  // namespace

void LogLoadedAs(HMODULE module) {
  if (!IsLogEnabled()) return;
  char path[kUtf8PathSize];
  ModulePathUtf8(module, path, sizeof path);
  const std::string_view name = ExecutableFileName(path);  // a module's name, by the same rule
  WriteLogFormat("[Core] Loaded as %.*s (%sthe process's dinput8.dll)",
                 static_cast<int>(name.size()), name.data(),
                 IsProcessDinput8(module) ? "" : "not ");
}

void NoteExportCalled() { exportCalled.store(true, std::memory_order_release); }

void ReachDirectInputIfNotProvider(HMODULE module) {
  if (IsProcessDinput8(module) || exportCalled.load(std::memory_order_acquire)) return;
  HMODULE provider = GetModuleHandleW(L"dinput8.dll");
  if (provider == nullptr) provider = LoadLibraryW(L"dinput8.dll");  // kept for the process's life
  void* const create = provider != nullptr
                           ? reinterpret_cast<void*>(GetProcAddress(provider, "DirectInput8Create"))
                           : nullptr;
  const OwnObjectsOutcome outcome =
      create != nullptr ? RedirectThroughOwnObjects(create) : OwnObjectsOutcome{};
  char path[kUtf8PathSize];
  ModulePathUtf8(provider, path, sizeof path);
  if (!outcome.created) {
    WriteLogFormat("[Input] Not the game's dinput8.dll; could not create DirectInput through %s",
                   provider != nullptr ? path : "dinput8.dll (not loaded)");
    return;
  }
  WriteLogFormat(
      "[Input] Not the game's dinput8.dll; reached DirectInput through objects of its own from %s "
      "(CreateDevice ANSI %s, wide %s; devices: keyboard %s, joystick %s)",
      path, PatchStatusText(outcome.ansi), DescribeWide(outcome.wide),
      outcome.keyboardHooked ? "yes" : "no", outcome.joystickHooked ? "yes" : "no");
}

}  // namespace artwheel
