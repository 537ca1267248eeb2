#include "game_input.h"

#define DIRECTINPUT_VERSION 0x0800
#include <dinput.h>
#include <windows.h>

namespace sim {
namespace {
IDirectInput8A* lastInput = nullptr;
}  // namespace

IDirectInput8A* LastDirectInput() { return lastInput; }

void CreateDirectInput(std::FILE* results, bool withOut) {
  IDirectInput8A* input = nullptr;
  const HRESULT hr =
      DirectInput8Create(GetModuleHandleA(nullptr), DIRECTINPUT_VERSION, IID_IDirectInput8A,
                         withOut ? reinterpret_cast<void**>(&input) : nullptr, nullptr);
  std::fprintf(results, "dinput hr=0x%08lX interface=%s\n", static_cast<unsigned long>(hr),
               input != nullptr ? "yes" : "no");
  if (SUCCEEDED(hr) && input != nullptr) lastInput = input;  // kept for the whole run
}

}  // namespace sim
