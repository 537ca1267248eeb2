#pragma once
// Screenshots as PNG files, written through the Windows Imaging Component.
#include <cstdint>
#include <string>

namespace sim {

bool WritePng(const std::string& path, const unsigned char* rgba, uint32_t width, uint32_t height);

}  // namespace sim
