#pragma once
// The game's own run-time lookups and reads through other modules, for the
// import redirection scenarios.
#include <cstdio>

namespace sim {

// GetProcAddress(GetModuleHandleA(module), name or #ordinal) through the
// game's import; records whether the answer is the module's true export, null,
// or an address inside which module.
void LookUpProcedure(std::FILE* results, const char* module, const char* name, const char* label);

// Reads pad 0 through a helper library's own XInput import.
void ReadPadThroughLibrary(std::FILE* results, const char* library, const char* label);

// Which modules serve the game's Direct3D: D3D11CreateDeviceAndSwapChain and
// the game's swap chain's Present and GetBuffer, each with its owner and
// whether that is one of Wine's own builtin libraries.
void DescribeD3DModules(std::FILE* results);

}  // namespace sim
