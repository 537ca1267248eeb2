#include <d3d11.h>
#include <gtest/gtest.h>
#include <windows.h>

#include <cstddef>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "../e2e/png_file.h"
#include "overlay/menu_view.h"
#include "overlay/overlay_layout.h"
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

// The overlay's settings as the worker hands them over: the images in the
// suite's folder, the panel laid out and fitted as given.
void ConfigurePanel(const std::string& folder, const PanelLayout& layout,
                    bool anyResolution = false) {
  OverlaySettings settings;
  settings.anyResolution = anyResolution;
  settings.layout = layout;
  std::snprintf(settings.folder, sizeof settings.folder, "%s\\", folder.c_str());
  ConfigureOverlay(settings);
}

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
    ConfigurePanel(folder, PanelLayout{});
    SetPanelSwitch(true);
    presentHook.SetOriginal(reinterpret_cast<void*>(&CountingPresent));
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

// The game's frame is flat (32, 64, 96); the background is red 200, the
// icons green (7300) and blue (5100), each blended at its alpha.
constexpr float kClear[4] = {32 / 255.0f, 64 / 255.0f, 96 / 255.0f, 1.0f};

struct Rgb {
  int r, g, b;
};

// `alpha` of `top` over `under`.
Rgb Over(Rgb top, float alpha, Rgb under) {
  auto mix = [alpha](int a, int b) { return static_cast<int>(alpha * a + (1 - alpha) * b + 0.5f); };
  return {mix(top.r, under.r), mix(top.g, under.g), mix(top.b, under.b)};
}

constexpr Rgb kGame{32, 64, 96};
constexpr Rgb kRed{200, 0, 0};
constexpr Rgb kGreen{0, 255, 0};
constexpr Rgb kBlue{0, 0, 255};

// One frame of the game, cleared to its colour, presented through the overlay.
class OverlayLayoutFrame : public OverlayFrame {
 protected:
  void Present(UINT width, UINT height) {
    frame_ = std::make_unique<TestSwapChain>(device, width, height, width, height);
    ID3D11RenderTargetView* view = nullptr;
    ASSERT_TRUE(SUCCEEDED(device->CreateRenderTargetView(frame_->backBuffer(), nullptr, &view)));
    context->ClearRenderTargetView(view, kClear);
    view->Release();
    PresentDetour(frame_.get(), 0, 0);
    ReadBack(width, height);
  }
  // The whole frame through one staging copy: a 4K frame copied per probe
  // would cost more than all the drawing.
  void ReadBack(UINT width, UINT height) {
    D3D11_TEXTURE2D_DESC description = {};
    frame_->backBuffer()->GetDesc(&description);
    description.Usage = D3D11_USAGE_STAGING;
    description.BindFlags = 0;
    description.CPUAccessFlags = D3D11_CPU_ACCESS_READ;
    ID3D11Texture2D* staging = nullptr;
    ASSERT_TRUE(SUCCEEDED(device->CreateTexture2D(&description, nullptr, &staging)));
    context->CopyResource(staging, frame_->backBuffer());
    D3D11_MAPPED_SUBRESOURCE mapped = {};
    ASSERT_TRUE(SUCCEEDED(context->Map(staging, 0, D3D11_MAP_READ, 0, &mapped)));
    pixels_.assign(size_t{width} * height, 0);
    for (UINT y = 0; y < height; ++y) {
      std::memcpy(&pixels_[size_t{y} * width],
                  static_cast<unsigned char*>(mapped.pData) + size_t{y} * mapped.RowPitch,
                  4 * width);
    }
    context->Unmap(staging, 0);
    staging->Release();
    width_ = width;
  }
  ::testing::AssertionResult Near(const char* what, UINT x, UINT y, Rgb expected) {
    const uint32_t pixel = pixels_.at(size_t{y} * width_ + x);
    const Rgb seen{int(pixel & 0xFF), int((pixel >> 8) & 0xFF), int((pixel >> 16) & 0xFF)};
    if (std::abs(seen.r - expected.r) <= 2 && std::abs(seen.g - expected.g) <= 2 &&
        std::abs(seen.b - expected.b) <= 2) {
      return ::testing::AssertionSuccess();
    }
    return ::testing::AssertionFailure()
           << what << " at " << x << "," << y << ": " << seen.r << "," << seen.g << "," << seen.b
           << " instead of " << expected.r << "," << expected.g << "," << expected.b;
  }
  // The pixels of a part of the frame read back, row by row.
  std::vector<uint32_t> Region(int left, int top, int right, int bottom) const {
    std::vector<uint32_t> region;
    for (int y = top; y < bottom; ++y) {
      const auto row = pixels_.begin() + static_cast<std::ptrdiff_t>(y) * width_;
      region.insert(region.end(), row + left, row + right);
    }
    return region;
  }
  void TearDown() override {
    ConfigurePanel(folder, PanelLayout{});
    SetWheelState(false, {}, 0);
  }
  std::unique_ptr<TestSwapChain> frame_;
  std::vector<uint32_t> pixels_;
  UINT width_ = 0;
};

PanelLayout Placement(PanelCorner corner, uint32_t scaleMilli = 1000, int32_t offsetX = 0,
                      int32_t offsetY = 0, uint32_t opacity = 100) {
  PanelLayout layout;
  layout.corner = corner;
  layout.scaleMilli = scaleMilli;
  layout.offsetX = offsetX;
  layout.offsetY = offsetY;
  layout.opacityPercent = opacity;
  return layout;
}

// Today's corner at the profile rows; every corner at a profile row and at a
// fitted size, scale 2 at 4K, an offset that would leave the picture, and
// 50% opacity over the game's colour.
TEST_F(OverlayLayoutFrame, CornersScaleOffsetAndOpacityPlaceAndBlendThePanel) {
  struct Case {
    UINT width, height;
    PanelLayout layout;
    UINT left, top, right, bottom;  // the background square
  };
  using C = PanelCorner;
  const Case cases[] = {
      {2560, 1440, Placement(C::kBottomRight), 2380, 1190, 2500, 1310},
      {1366, 768, Placement(C::kBottomRight), 1274, 636, 1334, 696},
      {1920, 1080, Placement(C::kBottomRight), 1785, 895, 1875, 985},
      {1920, 1080, Placement(C::kBottomLeft), 45, 895, 135, 985},
      {1920, 1080, Placement(C::kTopRight), 1785, 95, 1875, 185},
      {1920, 1080, Placement(C::kTopLeft), 45, 95, 135, 185},
      {1280, 800, Placement(C::kBottomRight), 1190, 637, 1250, 697},
      {1280, 800, Placement(C::kBottomLeft), 30, 637, 90, 697},
      {1280, 800, Placement(C::kTopRight), 1190, 103, 1250, 163},
      {1280, 800, Placement(C::kTopLeft), 30, 103, 90, 163},
      {3840, 2160, Placement(C::kBottomRight, 2000), 3300, 1420, 3660, 1780},
      {1920, 1080, Placement(C::kBottomRight, 1000, 5000, -500), 0, 990, 90, 1080},
  };
  const Rgb background = Over(kRed, 0.6f, kGame);
  for (const Case& c : cases) {
    ConfigurePanel(folder, c.layout, true);
    Present(c.width, c.height);
    const std::string name = std::string(CornerName(c.layout.corner)) + " " +
                             std::to_string(c.width) + "x" + std::to_string(c.height);
    SCOPED_TRACE(name);
    EXPECT_TRUE(Near("background", c.left + 1, c.top + 1, background));
    EXPECT_TRUE(Near("background", c.right - 2, c.bottom - 2, background));
    EXPECT_TRUE(Near("icon", (c.left + c.right) / 2, (c.top + c.bottom) / 2, kGreen));
    if (c.left >= 2) {
      EXPECT_TRUE(Near("game", c.left - 2, c.top + 1, kGame));
    }
    if (c.bottom + 2 <= c.height) {
      EXPECT_TRUE(Near("game", c.right - 2, c.bottom + 1, kGame));
    }
  }
  ConfigurePanel(folder, Placement(C::kBottomRight, 1000, 0, 0, 50), true);
  Present(1920, 1080);
  const Rgb dimmed = Over(kRed, 0.3f, kGame);
  EXPECT_TRUE(Near("background at 50%", 1786, 896, dimmed));
  EXPECT_TRUE(Near("icon at 50%", 1830, 940, Over(kGreen, 0.5f, dimmed)));
}

// Four, two and no assigned slots, the equipped one marked, a missing icon
// shown as an empty slot; without the panel (the combat-art menu); mirrored
// at the picture's edge. Slot centres at 1920 x 1080: Y (1681, 873),
// A (1681, 1007), B (1748, 940), X (1614, 940).
TEST_F(OverlayLayoutFrame, TheWheelShowsEachSlotsArtBesideThePanel) {
  std::ofstream(folder + "\\resources\\5100.png", std::ios::binary)
      << e2e::SolidPng(4, 4, {0, 0, 255, 255});
  PanelLayout layout;
  layout.showSlots = true;
  ConfigurePanel(folder, layout);
  const Rgb slot = Over(kRed, 0.6f, kGame);
  const Rgb marked = Over(kRed, 0.9f, kGame);
  const Rgb empty = Over(kRed, 0.3f, kGame);
  SetWheelState(true, {7300, 5100, 5100, 7300}, 7300);
  Present(1920, 1080);
  EXPECT_TRUE(Near("Y marked", 1652, 844, marked));
  EXPECT_TRUE(Near("Y icon", 1681, 873, kGreen));
  EXPECT_TRUE(Near("A frame", 1652, 978, slot));
  EXPECT_TRUE(Near("A icon", 1681, 1007, kBlue));
  EXPECT_TRUE(Near("B icon", 1748, 940, kBlue));
  EXPECT_TRUE(Near("X icon", 1614, 940, kGreen));
  EXPECT_TRUE(Near("between the slots", 1614, 873, kGame));
  EXPECT_TRUE(Near("panel", 1830, 940, kGreen));

  SetWheelState(true, {0, 9900, 5100, 7300}, 5100);  // 9900 has no icon
  Present(1920, 1080);
  EXPECT_TRUE(Near("Y empty", 1681, 873, empty));
  EXPECT_TRUE(Near("A without icon", 1681, 1007, empty));
  EXPECT_TRUE(Near("B marked", 1720, 912, marked));
  EXPECT_TRUE(Near("X icon", 1614, 940, kGreen));

  SetPanelState(false, 0);  // the combat-art menu: the wheel alone
  SetWheelState(true, {0, 0, 0, 0}, 0);
  Present(1920, 1080);
  for (const auto& [x, y] : {std::pair{1681, 873}, {1681, 1007}, {1748, 940}, {1614, 940}}) {
    EXPECT_TRUE(Near("no art", x, y, empty));
  }
  EXPECT_TRUE(Near("no panel", 1830, 940, kGame));

  SetPanelState(true, 7300);
  layout.offsetX = 1830;  // the panel at the left edge: the wheel to its right
  ConfigurePanel(folder, layout);
  SetWheelState(true, {7300, 7300, 7300, 7300}, 0);
  Present(1920, 1080);
  EXPECT_TRUE(Near("panel at the edge", 45, 940, kGreen));
  EXPECT_TRUE(Near("X mirrored", 127, 940, kGreen));
  EXPECT_TRUE(Near("B mirrored", 261, 940, kGreen));
  EXPECT_TRUE(Near("frame", 98, 911, slot));
}

// A new message and a moved menu row are drawn over the pictures kept from
// before: each differs from the last, and the first again is pixel for pixel
// what it was when its picture was new.
TEST_F(OverlayLayoutFrame, ANewMessageOrMenuRowReplacesThePictureKeptFromBefore) {
  SetPanelState(false, 0);
  const PixelRect message = MessageRect(1920.0f, 1080.0f);
  const auto messagePixels = [&](const char* text) {
    PostOverlayMessage(text);
    Present(1920, 1080);
    return Region(static_cast<int>(message.left), static_cast<int>(message.top),
                  static_cast<int>(message.right), static_cast<int>(message.bottom));
  };
  const auto first = messagePixels("Skill assigned to DPad Down + B");
  EXPECT_TRUE(messagePixels("Skill assigned to Shift+Q") != first);
  EXPECT_TRUE(messagePixels("Skill assigned to DPad Down + B") == first);

  MenuLines menu;
  menu.rowCount = 4;
  std::snprintf(menu.title, sizeof menu.title, "Settings");
  for (int row = 0; row < menu.rowCount; ++row) {
    std::snprintf(menu.names[row], sizeof menu.names[row], "Item %d", row);
    std::snprintf(menu.values[row], sizeof menu.values[row], "Value %d", row);
  }
  const MenuBox box = LayOutMenu(1920, 1080, menu.rowCount);
  const auto menuPixels = [&](int selected) {
    menu.selected = selected;
    ShowMenu(menu);
    Present(1920, 1080);
    return Region(box.left, box.top, box.left + box.width, box.top + box.height);
  };
  const auto top = menuPixels(0);
  EXPECT_TRUE(menuPixels(3) != top);
  EXPECT_TRUE(menuPixels(0) == top);
  HideMenu();
  Present(1920, 1080);  // the closed menu's picture let go
  EXPECT_TRUE(menuPixels(0) == top);
  HideMenu();
  SetPanelState(true, 7300);
}

TEST(OverlayStateTest, MessageShowsUntilTwoSecondsAfterItsPostAndStaysStored) {
  OverlayMessage message;
  const uint64_t before = GetTickCount64();
  PostOverlayMessage("Skill assigned to DPad Down + X");
  const uint64_t after = GetTickCount64();
  ASSERT_TRUE(ReadOverlayMessage(after, message));
  EXPECT_STREQ(message.text, L"Skill assigned to DPad Down + X");
  EXPECT_STREQ(message.english, message.text);
  EXPECT_EQ(message.language, Language::kEn);
  EXPECT_TRUE(ReadOverlayMessage(before + 1999, message));
  EXPECT_FALSE(ReadOverlayMessage(after + 2000, message));
  EXPECT_TRUE(ReadOverlayMessage(after + 1000, message));  // still stored after expiry
  PostOverlayMessage("\xE6\x8A\x80\xE8\x83\xBD Y", Language::kZhHans, "Skill assigned to Y");
  ASSERT_TRUE(ReadOverlayMessage(GetTickCount64() + 1990, message));
  EXPECT_STREQ(message.text, L"\u6280\u80FD Y");
  EXPECT_STREQ(message.english, L"Skill assigned to Y");
  EXPECT_EQ(message.language, Language::kZhHans);
  PostOverlayMessage(std::string(200, 'x').c_str(), Language::kDe, "Skill assigned to Y");
  ASSERT_TRUE(ReadOverlayMessage(GetTickCount64(), message));
  EXPECT_STREQ(message.text, L"Skill assigned to Y");  // too long in the language
  EXPECT_EQ(message.language, Language::kEn);
}

}  // namespace
}  // namespace artwheel
