#include "desktop.h"

#include <windows.h>

#include <cstring>

#include "input/slot_keys.h"

namespace sim {
namespace {

HWND keyboardWindow = nullptr;
HANDLE otherProgram = nullptr;
DWORD otherProgramId = 0;

void EnsureKeyboardWindow() {
  if (keyboardWindow != nullptr) return;
  keyboardWindow = CreateWindowExW(0, L"STATIC", L"sekiro keyboard", WS_POPUP | WS_VISIBLE, 0, 0,
                                   16, 16, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
  SetForegroundWindow(keyboardWindow);
  PumpMessagesFor(20);
}

// 0 for a name that is not a key the scenarios press.
WORD VirtualKeyOf(const char* name) {
  if (_stricmp(name, "Shift") == 0) return VK_SHIFT;
  if (_stricmp(name, "Ctrl") == 0) return VK_CONTROL;
  if (_stricmp(name, "Alt") == 0) return VK_MENU;
  // The settings menu's keys.
  if (_stricmp(name, "Up") == 0) return VK_UP;
  if (_stricmp(name, "Down") == 0) return VK_DOWN;
  if (_stricmp(name, "Left") == 0) return VK_LEFT;
  if (_stricmp(name, "Right") == 0) return VK_RIGHT;
  if (_stricmp(name, "Enter") == 0) return VK_RETURN;
  if (_stricmp(name, "Esc") == 0) return VK_ESCAPE;
  artwheel::KeyBinding binding;
  if (!artwheel::ParseKeyName(name, &binding) || binding.modifier != artwheel::KeyModifier::kNone) {
    return 0;
  }
  return binding.virtualKey;
}

bool IsDown(WORD virtualKey) { return (GetAsyncKeyState(virtualKey) & 0x8000) != 0; }

void SendVirtualKey(WORD virtualKey, bool down) {
  INPUT input = {};
  input.type = INPUT_KEYBOARD;
  input.ki.wVk = virtualKey;
  input.ki.dwFlags = down ? 0 : KEYEVENTF_KEYUP;
  SendInput(1, &input, sizeof input);
  // The desktop's key state changes when the input is taken in; wait for it,
  // so that no key stays down for the next program when this one ends.
  const ULONGLONG deadline = GetTickCount64() + 1000;
  while (IsDown(virtualKey) != down && GetTickCount64() < deadline) PumpMessagesFor(5);
}

DWORD ForegroundProcess() {
  DWORD processId = 0;
  const HWND window = GetForegroundWindow();
  if (window != nullptr) GetWindowThreadProcessId(window, &processId);
  return processId;
}

bool WaitForForeground(DWORD processId) {
  const ULONGLONG deadline = GetTickCount64() + 5000;
  while (ForegroundProcess() != processId) {
    if (GetTickCount64() >= deadline) return false;
    PumpMessagesFor(10);
  }
  return true;
}

bool StartOtherProgram() {
  uint32_t processId = 0;
  if (!StartOtherWindowProgram(&otherProgram, &processId)) return false;
  otherProgramId = processId;
  return true;
}

}  // namespace

bool StartOtherWindowProgram(void** process, uint32_t* processId) {
  char path[MAX_PATH];
  const DWORD length = GetModuleFileNameA(nullptr, path, sizeof path);
  char* separator = length > 0 && length < sizeof path ? std::strrchr(path, '\\') : nullptr;
  if (separator == nullptr) return false;
  char command[MAX_PATH + 32];
  std::snprintf(command, sizeof command, "\"%.*sother_window.exe\" %lu",
                static_cast<int>(separator + 1 - path), path, GetCurrentProcessId());
  STARTUPINFOA startup = {};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION started = {};
  AllowSetForegroundWindow(ASFW_ANY);
  if (!CreateProcessA(nullptr, command, nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                      &started)) {
    return false;
  }
  CloseHandle(started.hThread);
  *process = started.hProcess;
  *processId = started.dwProcessId;
  return true;
}

void PumpMessagesFor(uint32_t milliseconds) {
  const ULONGLONG deadline = GetTickCount64() + milliseconds;
  do {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&message);
    if (GetTickCount64() >= deadline) break;
    Sleep(5);
  } while (true);
}

void ReleaseHotkeys() {
  for (WORD key = VK_SHIFT; key <= VK_F12; ++key) {
    if (IsDown(key)) SendVirtualKey(key, false);
  }
  if (IsDown(VK_RETURN)) SendVirtualKey(VK_RETURN, false);
}

void SendKey(std::FILE* results, const char* key, bool down) {
  const WORD virtualKey = VirtualKeyOf(key);
  if (virtualKey == 0) {
    std::fprintf(results, "error unknown key %s\n", key);
    return;
  }
  EnsureKeyboardWindow();
  SendVirtualKey(virtualKey, down);
}

void BringToFront(std::FILE* results, const char* which) {
  // The keyboard window first: made later, it would take the front back.
  EnsureKeyboardWindow();
  bool inFront = false;
  if (std::strcmp(which, "other") == 0) {
    if (otherProgram != nullptr) {
      std::fprintf(results, "foreground other error already in front\n");
      return;
    }
    if (!StartOtherProgram()) {
      std::fprintf(results, "foreground other error %lu\n", GetLastError());
      return;
    }
    inFront = WaitForForeground(otherProgramId);
  } else {
    // The other program ends, so that the next "foreground other" starts one
    // that comes to the front again.
    if (otherProgram != nullptr) {
      TerminateProcess(otherProgram, 0);
      WaitForSingleObject(otherProgram, 5000);
      CloseHandle(otherProgram);
      otherProgram = nullptr;
    }
    SetForegroundWindow(keyboardWindow);
    inFront = WaitForForeground(GetCurrentProcessId());
  }
  std::fprintf(results, "foreground %s %s\n", which, inFront ? "ok" : "timeout");
}

}  // namespace sim
