#include "game/address_checks.h"

#include <cstring>

namespace artwheel {
namespace {

// The PAGE_ values of a memory query, without windows.h.
constexpr uint32_t kNoAccess = 0x01;
constexpr uint32_t kReadWrite = 0x04;
constexpr uint32_t kWriteCopy = 0x08;
constexpr uint32_t kExecute = 0x10;
constexpr uint32_t kExecuteRead = 0x20;
constexpr uint32_t kExecuteReadWrite = 0x40;
constexpr uint32_t kExecuteWriteCopy = 0x80;
constexpr uint32_t kGuard = 0x100;

constexpr uint32_t kWritable = kReadWrite | kWriteCopy | kExecuteReadWrite | kExecuteWriteCopy;
constexpr uint32_t kExecutable = kExecute | kExecuteRead | kExecuteReadWrite | kExecuteWriteCopy;

constexpr uint32_t kFixedFileInfoSignature = 0xFEEF04BD;

bool Within(uint64_t address, uint64_t size, uint64_t begin, uint64_t end) {
  return address >= begin && address + size >= address && address + size <= end;
}

uint32_t ReadU32(const uint8_t* at) {
  uint32_t value = 0;
  std::memcpy(&value, at, sizeof value);
  return value;
}

}  // namespace

bool RegionServes(const MemoryRegion& region, AddressUse use, uint64_t address, uint64_t size,
                  ImageRange image) {
  if (!region.committed || (region.protection & (kNoAccess | kGuard)) != 0) return false;
  if (!Within(address, size, region.begin, region.end)) return false;
  if (!Within(address, size, image.begin, image.end)) return false;
  const uint32_t wanted = use == AddressUse::kPointerVariable ? kWritable : kExecutable;
  return (region.protection & wanted) != 0;
}

bool FindFileVersion(const uint8_t* resource, size_t size, uint16_t parts[4]) {
  // The fixed part is DWORD-aligned: signature, struct version, then the
  // file version's most and least significant halves.
  for (size_t at = 0; resource != nullptr && at + 16 <= size; at += 4) {
    if (ReadU32(resource + at) != kFixedFileInfoSignature) continue;
    const uint32_t high = ReadU32(resource + at + 8);
    const uint32_t low = ReadU32(resource + at + 12);
    parts[0] = static_cast<uint16_t>(high >> 16);
    parts[1] = static_cast<uint16_t>(high & 0xFFFF);
    parts[2] = static_cast<uint16_t>(low >> 16);
    parts[3] = static_cast<uint16_t>(low & 0xFFFF);
    return true;
  }
  return false;
}

bool FormatHexBytes(const uint8_t* bytes, size_t count, char* out, size_t outSize) {
  static constexpr char kDigits[] = "0123456789abcdef";
  if (outSize == 0 || count > (outSize - 1) / 2) return false;
  for (size_t i = 0; i < count; ++i) {
    out[2 * i] = kDigits[bytes[i] >> 4];
    out[2 * i + 1] = kDigits[bytes[i] & 15];
  }
  out[2 * count] = '\0';
  return true;
}

}  // namespace artwheel
