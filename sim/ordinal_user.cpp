// A helper library of the game that imports XInputGetState by ordinal only.
#include <windows.h>
#include <xinput.h>

extern "C" __declspec(dllexport) DWORD WINAPI
    ReadPadThroughOrdinalImport(DWORD index, XINPUT_STATE* state) {
  return XInputGetState(index, state);
}
