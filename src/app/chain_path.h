#pragma once
// The chained library's path as the configuration gives it: one pair of
// enclosing quotes removed, and a relative path taken from this library's own
// folder. Platform-free.
#include <cstddef>

namespace artwheel {

// Removes the double quotes at both ends of a value of two or more characters.
void RemoveSurroundingQuotes(char* value);

// Drive paths (C:\ or C:/) and network paths (\\) are absolute; everything
// else, also C:x.dll and a path that starts with one separator, is relative.
bool IsAbsolutePath(const char* path);

// The value itself when absolute, else `folder` (with its trailing backslash)
// followed by the value. Returns the length, or -1 (and an empty `out`) when
// it does not fit.
int ComposeChainPath(const char* folder, const char* value, char* out, size_t size);

}  // namespace artwheel
