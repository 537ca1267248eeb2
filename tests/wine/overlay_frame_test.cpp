#include <d3d11.h>
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>

#include "../e2e/png_file.h"
#include "overlay/overlay_state.h"
#include "overlay/present_hook.h"
#include "test_swap_chain.h"

namespace artwheel {
namespace {

int presents = 0;
UINT presentedSync = 0;
UINT presentedFlags = 0;
HRESULT presentResult = S_OK;
HRESULT STDMETHODCALLTYPE CountingPresent(IDXGISwapChain*, UINT sync, UINT flags) {
  ++presents;
  presentedSync = sync;
  presentedFlags = flags;
  return presentResult;
}

bool PanelSwitchedOn() { return true; }

ULONG References(IUnknown* object) {
  object->AddRef();
  return object->Release();
}

// One device, one folder with the panel's images, for the whole suite: the
// overlay takes its device once per process.
class OverlayFrame : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    const D3D_FEATURE_LEVEL level = D3D_FEATURE_LEVEL_11_0;
    for (D3D_DRIVER_TYPE driver : {D3D_DRIVER_TYPE_HARDWARE, D3D_DRIVER_TYPE_WARP}) {
      if (SUCCEEDED(D3D11CreateDevice(nullptr, driver, nullptr, 0, &level, 1, D3D11_SDK_VERSION,
                                      &device, nullptr, &context))) {
        break;
      }
    }
    char temp[MAX_PATH];
    GetTempPathA(sizeof temp, temp);
    folder = std::string(temp) + "artwheel_overlay_test_" + std::to_string(GetCurrentProcessId());
    CreateDirectoryA(folder.c_str(), nullptr);
    CreateDirectoryA((folder + "\\resources").c_str(), nullptr);
    std::ofstream(folder + "\\resources\\bg.png", std::ios::binary)
        << e2e::SolidPng(4, 4, {200, 0, 0, 255});
    std::ofstream(folder + "\\resources\\7300.png", std::ios::binary)
        << e2e::SolidPng(4, 4, {0, 255, 0, 255});
    SetOverlayIniPath((folder + "\\artwheel.ini").c_str());
    SetPanelSwitch(&PanelSwitchedOn);
    savedPresent.store(reinterpret_cast<void*>(&CountingPresent));
  }

  void SetUp() override {
    ASSERT_NE(device, nullptr);
    presents = 0;
    presentResult = S_OK;
    SetPanelState(true, 7300);
  }

  // The back buffer's pixel, read through a staging copy.
  static uint32_t PixelAt(ID3D11Texture2D* texture, UINT x, UINT y) {
    D3D11_TEXTURE2D_DESC description = {};
    texture->GetDesc(&description);
    description.Usage = D3D11_USAGE_STAGING;
    description.BindFlags = 0;
    description.CPUAccessFlags = D3D11_CPU_ACCESS_READ;
    ID3D11Texture2D* staging = nullptr;
    device->CreateTexture2D(&description, nullptr, &staging);
    context->CopyResource(staging, texture);
    D3D11_MAPPED_SUBRESOURCE mapped = {};
    context->Map(staging, 0, D3D11_MAP_READ, 0, &mapped);
    uint32_t pixel = 0;
    std::memcpy(&pixel, static_cast<unsigned char*>(mapped.pData) + y * mapped.RowPitch + 4 * x, 4);
    context->Unmap(staging, 0);
    staging->Release();
    return pixel;  // bytes R, G, B, A from the lowest
  }

  static inline ID3D11Device* device = nullptr;
  static inline ID3D11DeviceContext* context = nullptr;
  static inline std::string folder;
};

TEST_F(OverlayFrame, ADescriptionOfZeroSizeIsDrawnAs1280x720) {
  TestSwapChain swapChain(device, 1280, 720, 0, 0);
  EXPECT_EQ(PresentDetour(&swapChain, 0, 0), S_OK);
  EXPECT_EQ(presents, 1);
  EXPECT_EQ(PixelAt(swapChain.backBuffer(), 1220, 627) & 0xFFFFFF, 0x00FF00u);  // icon
  EXPECT_EQ(PixelAt(swapChain.backBuffer(), 1192, 599) & 0xFF, 120u);           // 0.6 x 200
  EXPECT_EQ(PixelAt(swapChain.backBuffer(), 1188, 595), 0u);                    // outside
}

TEST_F(OverlayFrame, NoBackBufferReferenceOrViewOutlivesTheFrame) {
  TestSwapChain swapChain(device, 1280, 720, 1280, 720);
  const ULONG bufferBefore = References(swapChain.backBuffer());
  PresentDetour(&swapChain, 0, 0);  // makes the render objects of a first frame
  const ULONG deviceAfterFirst = References(device);
  for (int frame = 0; frame < 5; ++frame) PresentDetour(&swapChain, 0, 0);
  // Each frame asks for the back buffer again and gives it back: no view of an
  // earlier frame is reused, none is kept.
  EXPECT_EQ(swapChain.getBufferCalls, 6);
  EXPECT_EQ(References(swapChain.backBuffer()), bufferBefore);
  EXPECT_EQ(References(device), deviceAfterFirst);
}

TEST_F(OverlayFrame, APresentFromInsideTheDrawingIsNotDrawnAgain) {
  TestSwapChain swapChain(device, 1280, 720, 1280, 720);
  swapChain.presentFromGetDesc = true;
  PresentDetour(&swapChain, 0, 0);
  EXPECT_EQ(presents, 2);                  // the nested one and the outer one reach DXGI
  EXPECT_EQ(swapChain.getBufferCalls, 1);  // but only the outer one draws
}

TEST_F(OverlayFrame, PresentsArgumentsAndResultPassUnchanged) {
  TestSwapChain swapChain(device, 1280, 720, 1280, 720);
  presentResult = DXGI_STATUS_OCCLUDED;
  EXPECT_EQ(PresentDetour(&swapChain, 5, DXGI_PRESENT_DO_NOT_WAIT), DXGI_STATUS_OCCLUDED);
  EXPECT_EQ(presentedSync, 5u);
  EXPECT_EQ(presentedFlags, static_cast<UINT>(DXGI_PRESENT_DO_NOT_WAIT));
  presentResult = DXGI_ERROR_DEVICE_REMOVED;
  EXPECT_EQ(PresentDetour(&swapChain, 0, 0), DXGI_ERROR_DEVICE_REMOVED);
}

TEST_F(OverlayFrame, NothingToShowTouchesNoDeviceObject) {
  SetPanelState(false, 0);
  TestSwapChain swapChain(device, 1280, 720, 1280, 720);
  PresentDetour(&swapChain, 0, 0);
  EXPECT_EQ(swapChain.getDescCalls, 0);
  EXPECT_EQ(swapChain.getBufferCalls, 0);
  EXPECT_EQ(presents, 1);
}

// The suite runs on both Direct3D stacks (ARTWHEEL_D3D): on DXVK the device's
// methods lie in a native d3d11.dll, on Wine's own in one of Wine's builtins,
// which carry their mark right after the DOS header.
TEST_F(OverlayFrame, TheDeviceComesFromTheStackUnderTest) {
  HMODULE owner = nullptr;
  ASSERT_TRUE(GetModuleHandleExA(
      GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
      static_cast<LPCSTR>(**reinterpret_cast<void***>(device)), &owner));
  char path[MAX_PATH] = {};
  GetModuleFileNameA(owner, path, sizeof path);
  EXPECT_EQ(std::string(path).substr(std::string(path).find_last_of('\\') + 1), "d3d11.dll");
  const char* stack = std::getenv("ARTWHEEL_D3D");
  const bool dxvk = stack != nullptr && std::strcmp(stack, "dxvk") == 0;
  EXPECT_EQ(std::memcmp(reinterpret_cast<const char*>(owner) + 0x40, "Wine builtin DLL", 16) == 0,
            !dxvk)
      << path;
}

TEST(OverlayStateTest, MessageShowsUntilTwoSecondsAfterItsPostAndStaysStored) {
  wchar_t text[kMessageCapacity];
  const uint64_t before = GetTickCount64();
  PostOverlayMessage("Skill assigned to DPad Down + X");
  const uint64_t after = GetTickCount64();
  ASSERT_TRUE(ReadOverlayMessage(after, text));
  EXPECT_STREQ(text, L"Skill assigned to DPad Down + X");
  EXPECT_TRUE(ReadOverlayMessage(before + 1999, text));
  EXPECT_FALSE(ReadOverlayMessage(after + 2000, text));
  EXPECT_TRUE(ReadOverlayMessage(after + 1000, text));  // still stored after expiry
  PostOverlayMessage("Skill assigned to DPad Down + Y");
  ASSERT_TRUE(ReadOverlayMessage(GetTickCount64() + 1990, text));
  EXPECT_STREQ(text, L"Skill assigned to DPad Down + Y");
}

TEST(OverlayStateTest, APathThatDoesNotFitIsStoredAsEmpty) {
  char path[260];
  SetOverlayIniPath(std::string(300, 'p').c_str());
  EXPECT_FALSE(ReadOverlayIniPath(path));
  SetOverlayIniPath("C:\\Games\\artwheel.ini");
  EXPECT_TRUE(ReadOverlayIniPath(path));
  EXPECT_STREQ(path, "C:\\Games\\artwheel.ini");
  SetOverlayIniPath(nullptr);
  EXPECT_FALSE(ReadOverlayIniPath(path));
}

}  // namespace
}  // namespace artwheel
