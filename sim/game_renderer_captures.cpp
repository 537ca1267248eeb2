// Screenshots and probes of the game's frames: back buffers copied to PNG
// files, their pixels, and the references held on back buffer 0.
#include <d3d11.h>
#include <windows.h>

#include <cmath>
#include <cstdio>
#include <cstring>
#include <utility>

#include "game_renderer.h"
#include "game_renderer_record.h"
#include "png_writer.h"

namespace sim {
namespace render {

namespace {

float HalfToFloat(uint16_t half) {
  const int exponent = (half >> 10) & 0x1F;
  const int mantissa = half & 0x3FF;
  float value = 0;
  if (exponent == 0) {
    value = std::ldexp(static_cast<float>(mantissa), -24);
  } else if (exponent == 31) {
    value = mantissa == 0 ? INFINITY : NAN;
  } else {
    value = std::ldexp(static_cast<float>(mantissa + 1024), exponent - 25);
  }
  return (half & 0x8000) != 0 ? -value : value;
}

unsigned char ToByte(float value) {
  if (!(value > 0.0f)) return 0;
  if (value >= 1.0f) return 255;
  return static_cast<unsigned char>(value * 255.0f + 0.5f);
}

uint32_t PixelBytes(DXGI_FORMAT format) { return format == DXGI_FORMAT_R16G16B16A16_FLOAT ? 8 : 4; }

// The channels of one pixel of the back buffer's format as numbers: half
// floats as they are, UNORM channels as their integers.
void ChannelValues(const Capture& c, const unsigned char* p, double (&values)[4]) {
  if (c.format == DXGI_FORMAT_R16G16B16A16_FLOAT) {
    for (int i = 0; i < 4; ++i) {
      uint16_t half = 0;
      std::memcpy(&half, p + 2 * i, 2);
      values[i] = HalfToFloat(half);
    }
    return;
  }
  uint32_t word = 0;
  std::memcpy(&word, p, 4);
  if (c.format == DXGI_FORMAT_R10G10B10A2_UNORM) {
    for (int i = 0; i < 3; ++i) values[i] = (word >> (10 * i)) & 0x3FF;
    values[3] = word >> 30;
    return;
  }
  const bool bgra = c.format == DXGI_FORMAT_B8G8R8A8_UNORM;
  for (int i = 0; i < 4; ++i) values[i] = p[i];
  if (bgra) std::swap(values[0], values[2]);
}

// 8 bits a channel, RGBA, for the PNG and the colour probes.
void ToRgba8(Capture& c) {
  const size_t count = size_t(c.width) * c.height;
  c.rgba.resize(count * 4);
  for (size_t i = 0; i < count; ++i) {
    double v[4];
    ChannelValues(c, &c.raw[i * c.pixelBytes], v);
    for (int k = 0; k < 4; ++k) {
      if (c.format == DXGI_FORMAT_R16G16B16A16_FLOAT) {
        c.rgba[i * 4 + k] = ToByte(static_cast<float>(v[k]));
      } else if (c.format == DXGI_FORMAT_R10G10B10A2_UNORM) {
        c.rgba[i * 4 + k] = static_cast<unsigned char>(k < 3 ? int(v[k]) >> 2 : int(v[k]) * 85);
      } else {
        c.rgba[i * 4 + k] = static_cast<unsigned char>(v[k]);
      }
    }
  }
}

}  // namespace

void CaptureBackBuffer(Renderer& r, IDXGISwapChain* swapChain, ID3D11Device* device,
                       ID3D11DeviceContext* context, const std::string& name) {
  ID3D11Texture2D* backBuffer = nullptr;
  if (FAILED(swapChain->GetBuffer(0, __uuidof(ID3D11Texture2D),
                                  reinterpret_cast<void**>(&backBuffer)))) {
    return;
  }
  D3D11_TEXTURE2D_DESC description = {};
  backBuffer->GetDesc(&description);
  description.Usage = D3D11_USAGE_STAGING;
  description.BindFlags = 0;
  description.CPUAccessFlags = D3D11_CPU_ACCESS_READ;
  description.MiscFlags = 0;
  ID3D11Texture2D* staging = nullptr;
  device->CreateTexture2D(&description, nullptr, &staging);
  if (staging != nullptr) {
    context->CopyResource(staging, backBuffer);
    D3D11_MAPPED_SUBRESOURCE mapped = {};
    if (SUCCEEDED(context->Map(staging, 0, D3D11_MAP_READ, 0, &mapped))) {
      Capture capture;
      capture.width = description.Width;
      capture.height = description.Height;
      capture.format = description.Format;
      capture.pixelBytes = PixelBytes(description.Format);
      const size_t rowBytes = size_t(capture.width) * capture.pixelBytes;
      capture.raw.resize(rowBytes * capture.height);
      for (uint32_t y = 0; y < capture.height; ++y) {
        std::memcpy(&capture.raw[size_t(y) * rowBytes],
                    static_cast<unsigned char*>(mapped.pData) + size_t(y) * mapped.RowPitch,
                    rowBytes);
      }
      context->Unmap(staging, 0);
      ToRgba8(capture);
      WritePng(name + ".png", capture.rgba.data(), capture.width, capture.height);
      std::lock_guard<std::mutex> hold(r.mutex);
      r.capture = std::move(capture);
    }
  }
  Release(staging);
  Release(backBuffer);
}

ULONG CountBackBufferReferences(Renderer& r) {
  ULONG references = 0;
  ID3D11Texture2D* backBuffer = nullptr;
  if (SUCCEEDED(r.swapChain->GetBuffer(0, __uuidof(ID3D11Texture2D),
                                       reinterpret_cast<void**>(&backBuffer)))) {
    backBuffer->AddRef();
    references = backBuffer->Release() - 1;  // without our own GetBuffer reference
    backBuffer->Release();
  }
  return references;
}

}  // namespace render

using render::Capture;
using render::renderer;
using render::WaitUntil;

void Screenshot(std::FILE* results, const char* name) {
  std::unique_lock<std::mutex> hold(renderer.mutex);
  if (!renderer.running) {
    std::fprintf(results, "screenshot %s none\n", name);
    return;
  }
  renderer.screenshotDone = false;
  renderer.screenshotName = name;
  WaitUntil(hold, [] { return renderer.screenshotDone; });
  std::fprintf(results, "screenshot %s %ux%u\n", name, renderer.capture.width,
               renderer.capture.height);
}

void ScreenshotSecond(std::FILE* results, const char* name) {
  std::unique_lock<std::mutex> hold(renderer.mutex);
  if (!renderer.secondThread.joinable()) {
    std::fprintf(results, "screenshot %s none\n", name);
    return;
  }
  renderer.screenshotDone = false;
  renderer.secondScreenshotName = name;
  WaitUntil(hold, [] { return renderer.screenshotDone; });
  std::fprintf(results, "screenshot %s %ux%u\n", name, renderer.capture.width,
               renderer.capture.height);
}

void Pixel(std::FILE* results, uint32_t x, uint32_t y, const char* label) {
  std::lock_guard<std::mutex> hold(renderer.mutex);
  const Capture& c = renderer.capture;
  if (x >= c.width || y >= c.height) {
    std::fprintf(results, "pixel %s outside\n", label);
    return;
  }
  const unsigned char* p = &c.rgba[(size_t(y) * c.width + x) * 4];
  std::fprintf(results, "pixel %s %u %u %u %u\n", label, p[0], p[1], p[2], p[3]);
}

void PixelValues(std::FILE* results, uint32_t x, uint32_t y, const char* label) {
  std::lock_guard<std::mutex> hold(renderer.mutex);
  const Capture& c = renderer.capture;
  if (x >= c.width || y >= c.height) {
    std::fprintf(results, "values %s outside\n", label);
    return;
  }
  double v[4];
  render::ChannelValues(c, &c.raw[(size_t(y) * c.width + x) * c.pixelBytes], v);
  if (c.format == DXGI_FORMAT_R16G16B16A16_FLOAT) {
    std::fprintf(results, "values %s half %.4f %.4f %.4f %.4f\n", label, v[0], v[1], v[2], v[3]);
  } else {
    std::fprintf(results, "values %s %s %d %d %d %d\n", label,
                 c.format == DXGI_FORMAT_R10G10B10A2_UNORM ? "unorm10" : "unorm8", int(v[0]),
                 int(v[1]), int(v[2]), int(v[3]));
  }
}

void PixelRow(std::FILE* results, uint32_t x, uint32_t y, uint32_t count, const char* label) {
  std::lock_guard<std::mutex> hold(renderer.mutex);
  const Capture& c = renderer.capture;
  if (y >= c.height || x >= c.width || count > c.width - x) {
    std::fprintf(results, "pixelrow %s outside\n", label);
    return;
  }
  std::fprintf(results, "pixelrow %s", label);
  for (uint32_t i = 0; i < count; ++i) {
    const unsigned char* p = &c.rgba[(size_t(y) * c.width + x + i) * 4];
    std::fprintf(results, " %u,%u,%u", p[0], p[1], p[2]);
  }
  std::fprintf(results, "\n");
}

bool PixelIs(uint32_t x, uint32_t y, const uint8_t (&rgb)[3]) {
  std::lock_guard<std::mutex> hold(renderer.mutex);
  const Capture& c = renderer.capture;
  if (x >= c.width || y >= c.height) return false;
  const unsigned char* p = &c.rgba[(size_t(y) * c.width + x) * 4];
  for (int i = 0; i < 3; ++i) {
    if (p[i] + 3 < rgb[i] || p[i] > rgb[i] + 3) return false;
  }
  return true;
}

void BackBufferReferences(std::FILE* results, const char* label) {
  std::unique_lock<std::mutex> hold(renderer.mutex);
  renderer.referencesRequested = true;
  WaitUntil(hold, [] { return !renderer.referencesRequested; });
  std::fprintf(results, "references %s %lu\n", label, renderer.references);
}

}  // namespace sim
