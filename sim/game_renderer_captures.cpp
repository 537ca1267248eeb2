// Screenshots and probes of the game's frames: back buffers copied to PNG
// files, their pixels, and the references held on back buffer 0.
#include <d3d11.h>
#include <windows.h>

#include <cstdio>
#include <cstring>

#include "game_renderer.h"
#include "game_renderer_record.h"
#include "png_writer.h"

namespace sim {
namespace render {

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
      capture.rgba.resize(size_t(capture.width) * capture.height * 4);
      for (uint32_t y = 0; y < capture.height; ++y) {
        std::memcpy(&capture.rgba[size_t(y) * capture.width * 4],
                    static_cast<unsigned char*>(mapped.pData) + size_t(y) * mapped.RowPitch,
                    size_t(capture.width) * 4);
      }
      context->Unmap(staging, 0);
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
