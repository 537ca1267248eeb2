#include "png_writer.h"

#include <objbase.h>
#include <wincodec.h>

#include <vector>

namespace sim {
namespace {

constexpr CLSID kWicFactory = {
    0xcacaf262, 0x9370, 0x4615, {0xa1, 0x3b, 0x9f, 0x55, 0x39, 0xda, 0x4c, 0x0a}};
constexpr IID kWicFactoryInterface = {
    0xec5ec8a9, 0xc395, 0x4314, {0x9c, 0x77, 0x54, 0xd7, 0xa9, 0x35, 0xff, 0x70}};
constexpr GUID kContainerPng = {
    0x1b7cfaf4, 0x713f, 0x473c, {0xbb, 0xcd, 0x61, 0x37, 0x42, 0x5f, 0xae, 0xaf}};
constexpr GUID kFormat32bppBGRA = {
    0x6fddc324, 0x4e03, 0x4bfe, {0xb1, 0x85, 0x3d, 0x77, 0x76, 0x8d, 0xc9, 0x0f}};

template <typename T>
void Release(T*& object) {
  if (object != nullptr) object->Release();
  object = nullptr;
}

}  // namespace

bool WritePng(const std::string& path, const unsigned char* rgba, uint32_t width, uint32_t height) {
  CoInitializeEx(nullptr, COINIT_MULTITHREADED);
  std::vector<unsigned char> bgra(rgba, rgba + size_t(width) * height * 4);
  for (size_t i = 0; i < bgra.size(); i += 4) std::swap(bgra[i], bgra[i + 2]);
  std::wstring widePath(path.begin(), path.end());

  IWICImagingFactory* factory = nullptr;
  IWICStream* stream = nullptr;
  IWICBitmapEncoder* encoder = nullptr;
  IWICBitmapFrameEncode* frame = nullptr;
  HRESULT result = CoCreateInstance(kWicFactory, nullptr, CLSCTX_INPROC_SERVER,
                                    kWicFactoryInterface, reinterpret_cast<void**>(&factory));
  if (SUCCEEDED(result)) result = factory->CreateStream(&stream);
  if (SUCCEEDED(result)) result = stream->InitializeFromFilename(widePath.c_str(), GENERIC_WRITE);
  if (SUCCEEDED(result)) result = factory->CreateEncoder(kContainerPng, nullptr, &encoder);
  if (SUCCEEDED(result)) result = encoder->Initialize(stream, WICBitmapEncoderNoCache);
  if (SUCCEEDED(result)) result = encoder->CreateNewFrame(&frame, nullptr);
  if (SUCCEEDED(result)) result = frame->Initialize(nullptr);
  if (SUCCEEDED(result)) result = frame->SetSize(width, height);
  GUID format = kFormat32bppBGRA;
  if (SUCCEEDED(result)) result = frame->SetPixelFormat(&format);
  if (SUCCEEDED(result) && format != kFormat32bppBGRA) result = E_FAIL;
  if (SUCCEEDED(result)) {
    result = frame->WritePixels(height, width * 4, static_cast<UINT>(bgra.size()), bgra.data());
  }
  if (SUCCEEDED(result)) result = frame->Commit();
  if (SUCCEEDED(result)) result = encoder->Commit();
  Release(frame);
  Release(encoder);
  Release(stream);
  Release(factory);
  return SUCCEEDED(result);
}

}  // namespace sim
