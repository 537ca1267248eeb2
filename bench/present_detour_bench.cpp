// The CPU time PresentDetour adds to a frame, without DXGI's own Present:
// with nothing to show, and with panel and message drawn (the Direct3D calls
// are made on a real device; the rendering itself runs later on the GPU).
// Run: scripts/bench.sh
#include <d3d11.h>
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "../tests/e2e/png_file.h"
#include "../tests/wine/test_swap_chain.h"
#include "app/settings.h"
#include "overlay/overlay_state.h"

namespace {

constexpr int kFrames = 2000;

HRESULT STDMETHODCALLTYPE NoPresent(IDXGISwapChain*, UINT, UINT) { return S_OK; }

double MedianMicroseconds(artwheel::TestSwapChain& swapChain, int frames) {
  LARGE_INTEGER frequency;
  QueryPerformanceFrequency(&frequency);
  std::vector<double> times;
  times.reserve(frames);
  for (int i = 0; i < frames; ++i) {
    LARGE_INTEGER start, end;
    QueryPerformanceCounter(&start);
    artwheel::PresentDetour(&swapChain, 0, 0);
    QueryPerformanceCounter(&end);
    times.push_back(1e6 * double(end.QuadPart - start.QuadPart) / double(frequency.QuadPart));
  }
  std::sort(times.begin(), times.end());
  return times[times.size() / 2];
}

// Thousands of frames of drawing may still be queued; a software Vulkan
// driver's threads running into the process's end can crash it.
void WaitForQueuedDrawing(ID3D11Device* device, ID3D11DeviceContext* context) {
  D3D11_QUERY_DESC description = {D3D11_QUERY_EVENT, 0};
  ID3D11Query* done = nullptr;
  if (FAILED(device->CreateQuery(&description, &done))) return;
  context->End(done);
  BOOL finished = FALSE;
  while (context->GetData(done, &finished, sizeof finished, 0) == S_FALSE) Sleep(1);
  done->Release();
}

// The panel into back buffers of each kind, with each [Overlay] Hdr: the
// encoding is the pixel shader's work, the CPU's stays where it was.
void DrawPanelInEachHdrMode(ID3D11Device* device, artwheel::OverlaySettings overlay) {
  using artwheel::HdrMode;
  struct Case {
    const char* name;
    HdrMode mode;
    DXGI_FORMAT format;
  };
  const Case cases[] = {
      {"Off, R8G8B8A8_UNORM", HdrMode::kOff, DXGI_FORMAT_R8G8B8A8_UNORM},
      {"Auto, R16G16B16A16_FLOAT", HdrMode::kAuto, DXGI_FORMAT_R16G16B16A16_FLOAT},
      {"Auto, R10G10B10A2_UNORM", HdrMode::kAuto, DXGI_FORMAT_R10G10B10A2_UNORM},
      {"PQ, R10G10B10A2_UNORM", HdrMode::kPq, DXGI_FORMAT_R10G10B10A2_UNORM},
      {"scRGB, R16G16B16A16_FLOAT", HdrMode::kScRgb, DXGI_FORMAT_R16G16B16A16_FLOAT},
  };
  overlay.layout = {};
  for (const Case& c : cases) {
    overlay.hdr = c.mode;
    artwheel::ConfigureOverlay(overlay);
    artwheel::TestSwapChain swapChain(device, 1920, 1080, 1920, 1080, c.format);
    MedianMicroseconds(swapChain, 10);
    std::printf("  panel drawn, Hdr=%-26s %8.2f us\n", c.name,
                MedianMicroseconds(swapChain, kFrames));
  }
}

}  // namespace

int main() {
  ID3D11Device* device = nullptr;
  ID3D11DeviceContext* context = nullptr;
  const D3D_FEATURE_LEVEL level = D3D_FEATURE_LEVEL_11_0;
  if (FAILED(D3D11CreateDevice(nullptr, D3D_DRIVER_TYPE_HARDWARE, nullptr, 0, &level, 1,
                               D3D11_SDK_VERSION, &device, nullptr, &context))) {
    std::puts("no Direct3D 11 device");
    return 1;
  }
  // The settings file and the images beside this program, where the library
  // would find them beside itself; the panel switch is read as in the game.
  artwheel::LocateSettingsFile(GetModuleHandleA(nullptr));
  const std::string iniPath = artwheel::ConfigIniPath();
  const std::string folder = iniPath.substr(0, iniPath.rfind('\\'));
  CreateDirectoryA((folder + "\\resources").c_str(), nullptr);
  std::ofstream(folder + "\\artwheel.ini") << "[SkillPanel]\nEnable=1\n";
  std::ofstream(folder + "\\resources\\bg.png", std::ios::binary)
      << e2e::SolidPng(128, 128, {40, 40, 48, 255});
  std::ofstream(folder + "\\resources\\7300.png", std::ios::binary)
      << e2e::SolidPng(128, 128, {0, 200, 120, 255});
  artwheel::OverlaySettings overlay;
  std::snprintf(overlay.folder, sizeof overlay.folder, "%s", artwheel::LibraryFolder());
  artwheel::ConfigureOverlay(overlay);
  artwheel::SetPanelSwitch(artwheel::SkillPanelEnabledInFile());
  artwheel::presentHook.SetOriginal(reinterpret_cast<void*>(&NoPresent));

  artwheel::TestSwapChain swapChain(device, 1920, 1080, 1920, 1080);
  std::printf("PresentDetour without DXGI's Present, median of %d frames, 1920 x 1080\n", kFrames);
  artwheel::SetPanelState(false, 0);
  std::printf("  nothing to show          %8.2f us\n", MedianMicroseconds(swapChain, kFrames));
  artwheel::SetPanelState(true, 7300);
  MedianMicroseconds(swapChain, 10);  // objects and images made
  std::printf("  panel drawn              %8.2f us\n", MedianMicroseconds(swapChain, kFrames));
  // An icon that does not decode: the frame must cost what a good one does.
  std::ofstream(folder + "\\resources\\5100.png", std::ios::binary) << "\x89PNG\r\n\x1a\nbroken";
  artwheel::SetPanelState(true, 5100);
  MedianMicroseconds(swapChain, 10);
  std::printf("  panel, broken icon       %8.2f us\n", MedianMicroseconds(swapChain, kFrames));
  artwheel::SetPanelState(true, 7300);
  MedianMicroseconds(swapChain, 10);
  // The wheel beside the panel: four slots, three icons and an empty one.
  std::ofstream(folder + "\\resources\\5100.png", std::ios::binary)
      << e2e::SolidPng(128, 128, {0, 80, 200, 255});
  artwheel::PanelLayout wheel;
  wheel.showSlots = true;
  overlay.layout = wheel;
  artwheel::ConfigureOverlay(overlay);
  const uint32_t slots[artwheel::kWheelSlotCount] = {7300, 5100, 0, 7300};
  artwheel::SetWheelState(true, slots, 7300);
  MedianMicroseconds(swapChain, 10);  // the slots' icons loaded
  artwheel::SetWheelState(false, slots, 7300);
  const double panelOnly = MedianMicroseconds(swapChain, kFrames);
  artwheel::SetWheelState(true, slots, 7300);
  const double withWheel = MedianMicroseconds(swapChain, kFrames);
  std::printf("  panel drawn, again       %8.2f us\n", panelOnly);
  std::printf("  panel and wheel drawn    %8.2f us  (%+.2f us)\n", withWheel,
              withWheel - panelOnly);
  artwheel::SetWheelState(false, slots, 7300);
  // The settings menu: drawn again only when something on it changes.
  artwheel::MenuLines menu;
  menu.rowCount = 13;
  std::snprintf(menu.title, sizeof menu.title, "Settings");
  for (int row = 0; row < menu.rowCount; ++row) {
    std::snprintf(menu.names[row], sizeof menu.names[row], "Item %d", row);
    std::snprintf(menu.values[row], sizeof menu.values[row], "Value %d", row);
  }
  artwheel::HideMenu();
  const double menuClosed = MedianMicroseconds(swapChain, kFrames);
  artwheel::ShowMenu(menu);
  MedianMicroseconds(swapChain, 10);  // its picture made
  const double menuOpen = MedianMicroseconds(swapChain, kFrames);
  // A move or a changed value: the picture is drawn with GDI and uploaded
  // in the next frame; the median of such frames.
  std::vector<double> redraws;
  for (int i = 0; i < 50; ++i) {
    menu.selected = i % menu.rowCount;
    artwheel::ShowMenu(menu);
    redraws.push_back(MedianMicroseconds(swapChain, 1));
    MedianMicroseconds(swapChain, 5);
  }
  std::sort(redraws.begin(), redraws.end());
  const double changed = redraws[redraws.size() / 2];
  artwheel::HideMenu();
  std::printf("  panel, menu closed       %8.2f us\n", menuClosed);
  std::printf("  panel and menu open      %8.2f us  (%+.2f us)\n", menuOpen, menuOpen - menuClosed);
  std::printf("  menu changed, redrawn    %8.2f us  (median of 50 frames after a move)\n", changed);
  artwheel::PostOverlayMessage("Skill assigned to DPad Down + B");
  MedianMicroseconds(swapChain, 10);
  std::printf("  panel and message drawn  %8.2f us  (message shown for 2 s: fewer frames)\n",
              MedianMicroseconds(swapChain, 300));
  // A new text: its picture is drawn with GDI and uploaded in the next frame.
  std::vector<double> messages;
  for (int i = 0; i < 30; ++i) {
    artwheel::PostOverlayMessage(i % 2 == 0 ? "Skill assigned to Shift+Q"
                                            : "Skill assigned to DPad Down + B");
    messages.push_back(MedianMicroseconds(swapChain, 1));
  }
  std::sort(messages.begin(), messages.end());
  std::printf("  new message drawn        %8.2f us  (median of 30 frames after a new text)\n",
              messages[messages.size() / 2]);
  artwheel::SetPanelState(true, 7300);
  DrawPanelInEachHdrMode(device, overlay);
  context->Flush();

  // What the panel's per-frame look at [SkillPanel] Enable would cost without
  // its cache, and what the cache's check costs.
  const std::string ini = folder + "\\artwheel.ini";
  LARGE_INTEGER frequency, start, end;
  QueryPerformanceFrequency(&frequency);
  QueryPerformanceCounter(&start);
  UINT sink = 0;
  for (int i = 0; i < 500; ++i)
    sink += GetPrivateProfileIntA("SkillPanel", "Enable", 0, ini.c_str());
  QueryPerformanceCounter(&end);
  const double profile =
      1e6 * double(end.QuadPart - start.QuadPart) / double(frequency.QuadPart) / 500;
  WIN32_FILE_ATTRIBUTE_DATA attributes;
  QueryPerformanceCounter(&start);
  for (int i = 0; i < 500; ++i)
    sink += GetFileAttributesExA(ini.c_str(), GetFileExInfoStandard, &attributes);
  QueryPerformanceCounter(&end);
  const double attributeCheck =
      1e6 * double(end.QuadPart - start.QuadPart) / double(frequency.QuadPart) / 500;
  std::printf("  GetPrivateProfileIntA    %8.2f us per call (mean of 500)\n", profile);
  std::printf("  GetFileAttributesExA     %8.2f us per call (mean of 500)%s\n", attributeCheck,
              sink == 0 ? " " : "");
  std::fflush(stdout);
  WaitForQueuedDrawing(device, context);
  TerminateProcess(GetCurrentProcess(), 0);  // the device stays, as in the game
  return 0;
}
