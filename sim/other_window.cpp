// Another program's window for the simulator's "foreground other": a small
// window that makes itself the foreground window and takes the keyboard's
// input in until the simulator whose process id it was given ends.
// Usage: other_window.exe PID
#include <windows.h>

#include <cstdlib>

int main(int argc, char** argv) {
  if (argc < 2) return 2;
  HANDLE parent =
      OpenProcess(SYNCHRONIZE, FALSE, static_cast<DWORD>(std::strtoul(argv[1], nullptr, 10)));
  if (parent == nullptr) return 3;
  HWND window = CreateWindowExW(0, L"STATIC", L"another program", WS_POPUP | WS_VISIBLE, 32, 32, 16,
                                16, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
  if (window == nullptr) return 4;
  SetForegroundWindow(window);
  while (MsgWaitForMultipleObjects(1, &parent, FALSE, INFINITE, QS_ALLINPUT) != WAIT_OBJECT_0) {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&message);
  }
  return 0;
}
