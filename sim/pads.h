#pragma once
// Controller states that the simulator scripts and the fake XInput library
// serves. The simulator exports the table; every copy of the fake library
// (under any of the five XInput names) reads the same one.
#include <windows.h>

inline constexpr int kSimPadCount = 4;
inline constexpr char kSimPadTableExport[] = "SimPadTable";

struct SimPadState {
  volatile LONG connected;
  volatile LONG buttons;
  volatile LONG packet;
  volatile LONG reads;  // calls of XInputGetState for the pad, connected or not
};
