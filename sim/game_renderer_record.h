#pragma once
// The game renderer's own record, shared by its files: the requests of the
// script the render thread serves, the results it keeps and the objects only
// the render thread touches.
#include <d3d11.h>
#include <windows.h>

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "overlay/destruction_watch.h"

namespace sim::render {

template <typename T>
void Release(T*& object) {
  if (object != nullptr) object->Release();
  object = nullptr;
}

// The pipeline state the game binds before every Present. Everything the
// overlay might touch holds something of the game's, so that any state the
// overlay leaves behind shows as a mismatch.
struct KnownState {
  ID3D11RenderTargetView* targets[2] = {};
  ID3D11DepthStencilView* depthView = nullptr;
  // A pixel shader's writable view in the slot after the targets, as a game
  // that writes a buffer while it draws leaves it bound.
  ID3D11UnorderedAccessView* unorderedView = nullptr;
  ID3D11BlendState* blend = nullptr;
  ID3D11DepthStencilState* depthState = nullptr;
  ID3D11RasterizerState* rasterizer = nullptr;
  ID3D11InputLayout* layout = nullptr;
  ID3D11Buffer* vertexBuffer = nullptr;
  ID3D11VertexShader* vertexShader = nullptr;
  ID3D11PixelShader* pixelShader = nullptr;
  ID3D11SamplerState* sampler = nullptr;
  ID3D11ShaderResourceView* resource = nullptr;
  // Every other frame the game binds no viewport at all, as a game does that
  // sets its viewports only when it draws.
  bool viewportsBound = false;
};

struct Capture {
  std::vector<unsigned char> rgba;  // 8 bits a channel, for the PNG and the colour probes
  // The back buffer's own pixels, for the probes that give numbers.
  std::vector<unsigned char> raw;
  DXGI_FORMAT format = DXGI_FORMAT_UNKNOWN;
  uint32_t pixelBytes = 4;
  uint32_t width = 0;
  uint32_t height = 0;
};

struct Renderer {
  std::mutex mutex;
  std::condition_variable changed;
  std::thread thread;
  bool running = false;
  bool stop = false;

  // Requests from the script, served by the render thread.
  bool resizeRequested = false;
  uint32_t requestedWidth = 0;
  uint32_t requestedHeight = 0;
  HRESULT resizeResult = S_OK;
  bool resizeDone = false;
  bool formatRequested = false;
  DXGI_FORMAT requestedFormat = DXGI_FORMAT_UNKNOWN;
  bool colorSpaceWanted = false;
  HRESULT formatResult = S_OK;
  std::string colorSpaceResult;
  bool formatDone = false;
  std::string screenshotName;
  bool screenshotDone = false;
  bool referencesRequested = false;
  ULONG references = 0;
  uint32_t secondWidth = 0;
  uint32_t secondHeight = 0;
  std::string secondError;
  bool secondDone = false;
  std::string secondScreenshotName;
  uint64_t secondFrames = 0;
  bool secondStop = false;
  long secondReferences = -1;
  bool syncRequested = false;
  uint32_t syncInterval = 0;
  HRESULT syncResult = S_OK;
  bool syncDone = false;
  uint32_t framesPerSecond = 60;
  bool recordTimings = true;
  bool recreateRequested = false;
  bool recreateDone = false;
  std::string recreateError;
  bool faultyPresent = false;  // set before the window: the wrapper sits below any hook
  bool oldReferencesRequested = false;
  long oldReferences = -1;
  bool objectsRequested = false;
  std::string objectsLine;

  // Results.
  uint64_t frames = 0;
  uint64_t mismatches = 0;
  std::string firstMismatch;
  uint64_t presentFailures = 0;
  HRESULT firstFailure = S_OK;
  std::vector<double> presentMicroseconds;
  Capture capture;
  std::string startError;

  // Render thread only.
  HWND window = nullptr;
  ID3D11Device* device = nullptr;
  ID3D11DeviceContext* context = nullptr;
  IDXGISwapChain* swapChain = nullptr;
  ID3D11Texture2D* extraTarget = nullptr;
  ID3D11Texture2D* depthTexture = nullptr;
  KnownState state;
  uint32_t width = 0;
  uint32_t height = 0;

  // The device before the last re-creation: not referenced by the game, only
  // watched for its destruction.
  ID3D11Device* oldDevice = nullptr;
  artwheel::DestructionWatch* oldDeviceWatch = nullptr;

  // The second device, its window and swap chain, on a thread of their own.
  std::thread secondThread;
  HWND secondWindow = nullptr;
  ID3D11Device* secondDevice = nullptr;
  ID3D11DeviceContext* secondContext = nullptr;
  IDXGISwapChain* secondSwapChain = nullptr;
  ID3D11RenderTargetView* secondTarget = nullptr;
};

// The one game renderer (game_renderer_frames.cpp).
extern Renderer renderer;

template <typename Predicate>
bool WaitUntil(std::unique_lock<std::mutex>& hold, Predicate done) {
  return renderer.changed.wait_for(hold, std::chrono::seconds(10), done);
}

// The window, the device and swap chain, and the objects of the known state
// (game_renderer_device.cpp).
HWND CreateGameWindow(uint32_t width, uint32_t height);
bool CreateDeviceAndSwapChain(HWND window, uint32_t width, uint32_t height,
                              IDXGISwapChain** swapChain, ID3D11Device** device,
                              ID3D11DeviceContext** context);
// The objects of the back buffer's size: its view, a second target, the depth buffer.
bool CreateSizedObjects(Renderer& r);
void ReleaseSizedObjects(Renderer& r);
// The shaders, the input layout, the states and the shader resource.
bool CreateFixedObjects(Renderer& r);
void ReleaseFixedObjects(Renderer& r);

// The known pipeline state, bound before Present and checked after it
// (game_renderer_state.cpp).
void BindKnownState(Renderer& r);
// Compares what is bound with what the game bound; names the first difference.
const char* FindStateMismatch(Renderer& r);

// Screenshots and probes of the back buffer (game_renderer_captures.cpp).
// Copies back buffer 0 of the swap chain into NAME.png and keeps it for Pixel.
void CaptureBackBuffer(Renderer& r, IDXGISwapChain* swapChain, ID3D11Device* device,
                       ID3D11DeviceContext* context, const std::string& name);
// The reference count of back buffer 0, our own GetBuffer reference not counted.
ULONG CountBackBufferReferences(Renderer& r);

// Puts the wrapper that fails Presents on request in the swap chain's method
// table, below any later hook (game_renderer_faults.cpp).
void WrapPresent(IDXGISwapChain* swapChain);

// Wraps the object-making methods of the device's method table when the
// DLL's objects are watched (game_renderer_device_calls.cpp).
void WatchProductDeviceCalls(ID3D11Device* device);
void ServeProductObjects(Renderer& r);

// The script's requests the render thread serves before a frame
// (game_renderer_requests.cpp).
void ServeResize(Renderer& r);
void ServeFormat(Renderer& r);
void ServeRecreate(Renderer& r);
void ServeOldReferences(Renderer& r);

// The second device's thread: presents its own window until stopped
// (game_renderer_second.cpp). Waits for its next COUNT frames (or 10 s).
void StartSecondThread(std::unique_lock<std::mutex>& hold);
void WaitSecondFrames(std::unique_lock<std::mutex>& hold, uint64_t count);

// Starts the render thread at the record's size and waits for its first frame
// or its failure (game_renderer_frames.cpp).
void StartRenderThread(std::unique_lock<std::mutex>& hold);

}  // namespace sim::render
