#pragma once
// Points the artwheel DLL's own import entries at the simulator's counting
// stand-ins, so the simulator sees every call the DLL makes to them.

namespace sim {

struct ImportReplacement {
  const char* name;  // the imported function's name
  void* counting;    // the stand-in that counts and calls the real function
  void** real;       // receives the real function's address
};

// Redirects every import of the game folder's dinput8.dll named in the table;
// returns how many entries were redirected (0 without the DLL).
int RedirectProductImports(ImportReplacement* replacements, int count);

}  // namespace sim
