// PNG images through the Windows Imaging Component, as straight RGBA textures.
#include <objbase.h>
#include <wincodec.h>

#include <cstdlib>
#include <cstring>

#include "base/log.h"
#include "base/wide_path.h"
#include "overlay/overlay_renderer.h"

namespace artwheel {
namespace {

constexpr CLSID kWicImagingFactory2 = {
    0x317D06E8, 0x5F24, 0x433D, {0xBD, 0xF7, 0x79, 0xCE, 0x68, 0xD8, 0xAB, 0xC2}};
constexpr IID kWicImagingFactoryInterface = {
    0xEC5EC8A9, 0xC395, 0x4314, {0x9C, 0x77, 0x54, 0xD7, 0xA9, 0x35, 0xFF, 0x70}};
constexpr GUID kPixelFormat32bppRGBA = {
    0xF5C7AD2D, 0x6A8D, 0x43DD, {0xA7, 0xA8, 0xA2, 0x99, 0x35, 0x26, 0x1A, 0xE9}};

bool EnsureWicFactory(OverlayRenderer& r) {
  if (r.wicFactory != nullptr) return true;
  const HRESULT apartment = CoInitializeEx(nullptr, COINIT_MULTITHREADED);
  if (FAILED(apartment) && apartment != RPC_E_CHANGED_MODE) {
    LogOverlayErrorOnce("[Overlay] CoInitializeEx failed: 0x%08X",
                        static_cast<unsigned>(apartment));
    return false;
  }
  const HRESULT result =
      CoCreateInstance(kWicImagingFactory2, nullptr, CLSCTX_INPROC_SERVER,
                       kWicImagingFactoryInterface, reinterpret_cast<void**>(&r.wicFactory));
  if (FAILED(result) || r.wicFactory == nullptr) {
    r.wicFactory = nullptr;
    LogOverlayErrorOnce("[Overlay] WIC factory creation failed: 0x%08X",
                        static_cast<unsigned>(result));
    return false;
  }
  return true;
}

HRESULT MakeTexture(OverlayRenderer& r, const void* pixels, UINT width, UINT height,
                    ID3D11ShaderResourceView** view) {
  D3D11_TEXTURE2D_DESC description = {};
  description.Width = width;
  description.Height = height;
  description.MipLevels = 1;
  description.ArraySize = 1;
  description.Format = DXGI_FORMAT_R8G8B8A8_UNORM;
  description.SampleDesc.Count = 1;
  description.Usage = D3D11_USAGE_DEFAULT;
  description.BindFlags = D3D11_BIND_SHADER_RESOURCE;
  const D3D11_SUBRESOURCE_DATA data = {pixels, 4 * width, 0};
  ID3D11Texture2D* texture = nullptr;
  HRESULT result = r.device->CreateTexture2D(&description, &data, &texture);
  if (SUCCEEDED(result)) result = r.device->CreateShaderResourceView(texture, nullptr, view);
  ReleaseAndClear(texture);
  return result;
}

// Decodes and uploads; returns the first failing step's result.
HRESULT DecodeInto(OverlayRenderer& r, const wchar_t* path, ID3D11ShaderResourceView** view) {
  IWICBitmapDecoder* decoder = nullptr;
  IWICBitmapFrameDecode* frame = nullptr;
  IWICFormatConverter* converter = nullptr;
  UINT width = 0;
  UINT height = 0;
  HRESULT result = r.wicFactory->CreateDecoderFromFilename(path, nullptr, GENERIC_READ,
                                                           WICDecodeMetadataCacheOnLoad, &decoder);
  if (SUCCEEDED(result)) result = decoder->GetFrame(0, &frame);
  if (SUCCEEDED(result)) result = r.wicFactory->CreateFormatConverter(&converter);
  if (SUCCEEDED(result)) {
    result = converter->Initialize(frame, kPixelFormat32bppRGBA, WICBitmapDitherTypeNone, nullptr,
                                   0.0, WICBitmapPaletteTypeCustom);
  }
  if (SUCCEEDED(result)) result = converter->GetSize(&width, &height);
  if (SUCCEEDED(result) && width != 0 && height != 0) {
    // Made only when an image is (re)loaded, never on a frame that reuses it.
    const UINT pitch = 4 * width;
    const UINT bytes = pitch * height;
    void* pixels = (height <= 0x7FFFFFFFu / pitch) ? std::malloc(bytes) : nullptr;
    result = pixels == nullptr
                 ? E_OUTOFMEMORY
                 : converter->CopyPixels(nullptr, pitch, bytes, static_cast<BYTE*>(pixels));
    if (SUCCEEDED(result)) result = MakeTexture(r, pixels, width, height, view);
    std::free(pixels);
  }
  ReleaseAndClear(converter);
  ReleaseAndClear(frame);
  ReleaseAndClear(decoder);
  return result;
}

constexpr uint64_t kFailedImageCheckMs = 1000;
// ERROR_SHARING_VIOLATION and ERROR_LOCK_VIOLATION as HRESULTs.
constexpr HRESULT kFileInUse = static_cast<HRESULT>(0x80070020u);
constexpr HRESULT kFileLocked = static_cast<HRESULT>(0x80070021u);

// Size and write time of the file; `exists` false when it cannot be looked at.
void StampFile(const wchar_t* path, ImageFailure& stamp) {
  WIN32_FILE_ATTRIBUTE_DATA attributes = {};
  stamp.exists = GetFileAttributesExW(path, GetFileExInfoStandard, &attributes) != 0;
  stamp.size =
      stamp.exists ? (uint64_t(attributes.nFileSizeHigh) << 32 | attributes.nFileSizeLow) : 0;
  stamp.writeTime = stamp.exists ? (uint64_t(attributes.ftLastWriteTime.dwHighDateTime) << 32 |
                                    attributes.ftLastWriteTime.dwLowDateTime)
                                 : 0;
}

// True when the path failed before and its file still looks as it did then.
bool StillFailing(const char* utf8Path, ImageFailure& failure, uint64_t now) {
  if (std::strcmp(failure.path, utf8Path) != 0) return false;
  if (now - failure.checkedAt < kFailedImageCheckMs) return true;
  failure.checkedAt = now;
  wchar_t widePath[kWidePathCount] = {};
  ImageFailure current;
  if (WideFromUtf8(utf8Path, widePath, kWidePathCount)) StampFile(widePath, current);
  return current.exists == failure.exists && current.size == failure.size &&
         current.writeTime == failure.writeTime;
}

}  // namespace

bool LoadPngTextureUnlessFailed(const char* utf8Path, ID3D11ShaderResourceView** view,
                                ImageFailure& failure) {
  const uint64_t now = GetTickCount64();
  if (StillFailing(utf8Path, failure, now)) return false;
  // Stamped before the attempt: a file replaced while it is read is tried again.
  ImageFailure seen;
  wchar_t widePath[kWidePathCount] = {};
  if (WideFromUtf8(utf8Path, widePath, kWidePathCount)) StampFile(widePath, seen);
  if (LoadPngTexture(utf8Path, view)) {
    failure.path[0] = '\0';
    return true;
  }
  seen.checkedAt = now;
  std::strncpy(seen.path, utf8Path, sizeof seen.path - 1);
  failure = seen;
  return false;
}

bool LoadPngTexture(const char* utf8Path, ID3D11ShaderResourceView** view) {
  OverlayRenderer& r = overlayRenderer;
  if (utf8Path == nullptr || utf8Path[0] == '\0' || view == nullptr || r.device == nullptr) {
    return false;
  }
  if (!EnsureWicFactory(r)) return false;
  wchar_t widePath[kWidePathCount] = {};
  HRESULT result = E_INVALIDARG;
  if (WideFromUtf8(utf8Path, widePath, kWidePathCount)) {
    result = DecodeInto(r, widePath, view);
  }
  if (SUCCEEDED(result) && *view != nullptr) return true;
  // A file that another program is still writing is no broken image: its size or
  // write time changes when the writer is done, and then it is tried again.
  if (result == kFileInUse || result == kFileLocked) {
    return false;
  }
  WriteLogFormat("[Overlay] Could not load texture %s: 0x%08X", utf8Path,
                 static_cast<unsigned>(result));
  return false;
}

}  // namespace artwheel
