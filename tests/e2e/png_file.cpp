#include "png_file.h"

#include <array>
#include <vector>

namespace e2e {
namespace {

uint32_t Crc32(const std::string& data) {
  static const std::array<uint32_t, 256> table = [] {
    std::array<uint32_t, 256> t{};
    for (uint32_t n = 0; n < 256; ++n) {
      uint32_t c = n;
      for (int k = 0; k < 8; ++k) c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
      t[n] = c;
    }
    return t;
  }();
  uint32_t crc = 0xFFFFFFFFu;
  for (unsigned char byte : data) crc = table[(crc ^ byte) & 0xFF] ^ (crc >> 8);
  return crc ^ 0xFFFFFFFFu;
}

void PutBigEndian(std::string& out, uint32_t value) {
  for (int shift = 24; shift >= 0; shift -= 8) out.push_back(static_cast<char>(value >> shift));
}

void PutChunk(std::string& out, const char* kind, const std::string& data) {
  PutBigEndian(out, static_cast<uint32_t>(data.size()));
  const std::string body = std::string(kind, 4) + data;
  out += body;
  PutBigEndian(out, Crc32(body));
}

// zlib stream of stored (uncompressed) deflate blocks.
std::string Zlib(const std::string& raw) {
  std::string out = "\x78\x01";
  uint32_t a = 1, b = 0;
  for (unsigned char byte : raw) {
    a = (a + byte) % 65521;
    b = (b + a) % 65521;
  }
  for (size_t at = 0; at < raw.size() || at == 0; at += 65535) {
    const size_t length = std::min<size_t>(65535, raw.size() - at);
    const bool last = at + length >= raw.size();
    out.push_back(last ? 1 : 0);
    out.push_back(static_cast<char>(length & 0xFF));
    out.push_back(static_cast<char>(length >> 8));
    out.push_back(static_cast<char>(~length & 0xFF));
    out.push_back(static_cast<char>((~length >> 8) & 0xFF));
    out += raw.substr(at, length);
    if (last) break;
  }
  PutBigEndian(out, (b << 16) | a);
  return out;
}

}  // namespace

std::string SolidPng(uint32_t width, uint32_t height, Rgba colour) {
  return RgbaPng(width, height, std::vector<Rgba>(size_t{width} * height, colour));
}

std::string SplitPng(uint32_t width, uint32_t height, Rgba left, Rgba right) {
  std::vector<Rgba> pixels(size_t{width} * height, right);
  for (uint32_t y = 0; y < height; ++y) {
    for (uint32_t x = 0; x < width / 2; ++x) pixels[size_t{y} * width + x] = left;
  }
  return RgbaPng(width, height, pixels);
}

std::string RgbaPng(uint32_t width, uint32_t height, const std::vector<Rgba>& pixels) {
  std::string raw;
  for (uint32_t y = 0; y < height; ++y) {
    raw.push_back(0);  // no filter
    for (uint32_t x = 0; x < width; ++x) {
      const Rgba& colour = pixels[size_t{y} * width + x];
      raw += {static_cast<char>(colour.r), static_cast<char>(colour.g), static_cast<char>(colour.b),
              static_cast<char>(colour.a)};
    }
  }
  std::string header;
  PutBigEndian(header, width);
  PutBigEndian(header, height);
  header += std::string("\x08\x06\x00\x00\x00", 5);  // 8-bit RGBA
  std::string png = "\x89PNG\r\n\x1a\n";
  PutChunk(png, "IHDR", header);
  PutChunk(png, "IDAT", Zlib(raw));
  PutChunk(png, "IEND", "");
  return png;
}

}  // namespace e2e
