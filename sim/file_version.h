#pragma once
// What a player sees in a file's properties: its version resource.
#include <cstdio>

namespace sim {

// "version LABEL file=A.B.C.D product=A.B.C.D" and the strings ProductName,
// FileVersion, ProductVersion, OriginalFilename, FileDescription and
// LegalCopyright of the file's US English block, each as "NAME=text" on a
// line of its own; "version LABEL none ERROR" when the file has no resource.
void WriteFileVersion(std::FILE* results, const char* file, const char* label);

}  // namespace sim
