#pragma once
// The desktop the game shares with other programs: its one keyboard, and
// which program's window is in front.
#include <cstdint>
#include <cstdio>

namespace sim {

// Releases every key a scenario may press when the desktop still holds it
// down from an earlier program, so that a scenario starts from a keyboard at rest.
void ReleaseHotkeys();

// Handles the messages of the keyboard window (see SendKey) while waiting.
void PumpMessagesFor(uint32_t milliseconds);

// A key pressed or released through SendInput: a key name of [Keys] without
// modifier ("F6", "Q", "7", "Numpad3", "Home"...) or "Shift", "Ctrl", "Alt".
// Keyboard input on the desktop goes to the active window; the first key
// makes a small window of the simulator active, so that its input is taken in
// at once.
void SendKey(std::FILE* results, const char* key, bool down);

// Starts other_window.exe from this program's folder for this process (it
// ends with it): its window comes to the front. The process handle is the
// caller's to close.
bool StartOtherWindowProgram(void** process, uint32_t* processId);

// "other": a window of another program (other_window.exe beside the
// simulator) comes to the front; "game": the simulator's keyboard window does.
void BringToFront(std::FILE* results, const char* which);

}  // namespace sim
