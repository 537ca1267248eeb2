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
    if (SUCCEEDED(result))
      result = MakePixelTexture(r, pixels, width, height, DXGI_FORMAT_R8G8B8A8_UNORM, view);
    std::free(pixels);
  }
  ReleaseAndClear(converter);
  ReleaseAndClear(frame);
  ReleaseAndClear(decoder);
  return result;
}

// ERROR_SHARING_VIOLATION and ERROR_LOCK_VIOLATION as HRESULTs: another
// program (a scan, a sync tool, an editor) holds the file.
constexpr HRESULT kFileInUse = static_cast<HRESULT>(0x80070020u);
constexpr HRESULT kFileLocked = static_cast<HRESULT>(0x80070021u);

// Size and write time of the file; `exists` false when it cannot be looked at.
FileStamp StampFile(const wchar_t* path) {
  WIN32_FILE_ATTRIBUTE_DATA attributes = {};
  FileStamp stamp;
  stamp.exists = GetFileAttributesExW(path, GetFileExInfoStandard, &attributes) != 0;
  if (!stamp.exists) return stamp;
  stamp.size = uint64_t(attributes.nFileSizeHigh) << 32 | attributes.nFileSizeLow;
  stamp.writeTime = uint64_t(attributes.ftLastWriteTime.dwHighDateTime) << 32 |
                    attributes.ftLastWriteTime.dwLowDateTime;
  return stamp;
}

FileStamp StampFile(const char* utf8Path) {
  wchar_t widePath[kWidePathCount] = {};
  return WideFromUtf8(utf8Path, widePath, kWidePathCount) ? StampFile(widePath) : FileStamp{};
}

bool SameStamp(const FileStamp& a, const FileStamp& b) {
  return a.exists == b.exists && a.size == b.size && a.writeTime == b.writeTime;
}

// True when the path failed before and is not to be loaded on this frame.
bool StillFailing(const char* utf8Path, ImageFailure& failure, uint64_t now) {
  switch (DecideImageRetry(failure, utf8Path, now)) {
    case ImageRetry::kLoad:
    case ImageRetry::kLoadAgain:
      return false;
    case ImageRetry::kWait:
      return true;
    case ImageRetry::kLookAtFile:
      break;
  }
  failure.checkedAt = now;
  return SameStamp(StampFile(utf8Path), failure.stamp);
}

// Decodes the image into a texture; the first failing step's result.
HRESULT LoadPng(const char* utf8Path, ID3D11ShaderResourceView** view) {
  OverlayRenderer& r = overlayRenderer;
  if (utf8Path == nullptr || utf8Path[0] == '\0' || view == nullptr || r.device == nullptr) {
    return E_INVALIDARG;
  }
  if (!EnsureWicFactory(r)) return E_FAIL;
  wchar_t widePath[kWidePathCount] = {};
  const HRESULT result = WideFromUtf8(utf8Path, widePath, kWidePathCount)
                             ? DecodeInto(r, widePath, view)
                             : E_INVALIDARG;
  return SUCCEEDED(result) && *view == nullptr ? E_FAIL : result;
}

}  // namespace

bool LoadPngTextureUnlessFailed(const char* utf8Path, ID3D11ShaderResourceView** view,
                                ImageFailure& failure) {
  const uint64_t now = GetTickCount64();
  if (StillFailing(utf8Path, failure, now)) return false;
  // Stamped before the attempt: a file replaced while it is read is tried again.
  const FileStamp seen = StampFile(utf8Path);
  const HRESULT result = LoadPng(utf8Path, view);
  if (SUCCEEDED(result)) {
    failure = {};
    return true;
  }
  // A file that another program holds is no broken image: it is tried again
  // every second, and named once when it is still held after ten.
  const bool inUse = result == kFileInUse || result == kFileLocked;
  NoteImageFailure(failure, utf8Path, seen, inUse, now);
  if (!inUse) {
    WriteLogFormat("[Overlay] Could not load texture %s: 0x%08X", utf8Path,
                   static_cast<unsigned>(result));
  } else if (TakeImageInUseReport(failure, now)) {
    WriteLogFormat(
        "[Overlay] Image %s is still held by another program after 10 s; trying again "
        "every second",
        utf8Path);
  }
  return false;
}

}  // namespace artwheel
