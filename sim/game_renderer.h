#pragma once
// The game's rendering: a D3D11 window that presents frames continuously on
// its own thread, binds a known pipeline state before every Present and checks
// after it that the state is unchanged.
#include <cstdint>
#include <cstdio>

namespace sim {

// Starts rendering at the size (the first call) or resizes the swap chain
// through ResizeBuffers (later calls). Writes a result line.
void SetWindowSize(std::FILE* results, uint32_t width, uint32_t height);

// ResizeBuffers to this DXGI format at the same size, then, when asked,
// IDXGISwapChain3::SetColorSpace1 with G2084/P2020. Writes a result line with
// both results ("nointerface" without IDXGISwapChain3).
void SetBackBufferFormat(std::FILE* results, const char* name, uint32_t format, bool setColorSpace);

// Blocks until `count` more frames were presented, or until none came for 10 s.
bool WaitFrames(int count);

// Blocks until the game's Present goes through the module `library` (or 10 s
// passed): the overlay's hook is in place, whether or not anything is logged.
bool WaitPresentThrough(const char* library);

// Captures back buffer 0 after the next Present into NAME.png and keeps it for Pixel.
void Screenshot(std::FILE* results, const char* name);
void Pixel(std::FILE* results, uint32_t x, uint32_t y, const char* label);
// Whether the last screenshot's pixel at X Y is within 3 of R G B in each channel.
bool PixelIs(uint32_t x, uint32_t y, const uint8_t (&rgb)[3]);
// The last screenshot's pixel as the back buffer holds it: half floats,
// 10-bit or 8-bit channel values.
void PixelValues(std::FILE* results, uint32_t x, uint32_t y, const char* label);
// COUNT pixels from X Y to the right, 8 bits a channel, "r,g,b" each.
void PixelRow(std::FILE* results, uint32_t x, uint32_t y, uint32_t count, const char* label);

// One Present with this sync interval on the render thread; records its result.
void PresentWithSyncInterval(std::FILE* results, uint32_t syncInterval);

// Frame pacing: 0 presents as fast as possible, otherwise frames per second.
void SetFrameRate(uint32_t framesPerSecond);
// Starts a new series of Present timings; FrameStats reports it. Timings are
// recorded only while recording is on (the default).
void ResetFrameStats();
void RecordFrameStats(bool on);
void FrameStats(std::FILE* results, const char* label);

// The reference count of back buffer 0 of the game's swap chain, as seen
// from outside (our own GetBuffer reference not counted).
void BackBufferReferences(std::FILE* results, const char* label);

// Before the window: the game's swap chains present through a wrapper below
// any later hook. FailPresents then makes the next COUNT Presents of the game's
// swap chain return RESULT without presenting, and waits for them.
void UseFaultyPresent();
void FailPresents(std::FILE* results, long result, int count);

// The game releases its device, context and swap chain and makes new ones on
// the same window at the same size, then goes on presenting.
void RecreateDevice(std::FILE* results);
// How many references to the device before the last re-creation remain, now
// that the game let go of it: 0 once it was destroyed ("none" before any).
void OldDeviceReferences(std::FILE* results, const char* label);

// A second window with a swap chain of another device, presented continuously
// on a thread of its own, as a launcher or a capture tool would; it presents
// first after the game let go of its device (RecreateDevice).
// ScreenshotSecond captures it; StopSecondDevice releases it and writes how
// many references to its device remain (0 once it was destroyed).
void StartSecondDevice(std::FILE* results, uint32_t width, uint32_t height);
void ScreenshotSecond(std::FILE* results, const char* name);
void StopSecondDevice(std::FILE* results);

// Entry `slot` of the game's swap chain method table (null before the window).
void* GameSwapChainMethod(int slot);

// Before the window: every Direct3D object artwheel's DLL makes on the game's
// devices is watched until it is destroyed. ProductObjects writes how many
// live, by kind, between two frames; RefuseProductShaders makes the DLL's
// pixel shaders fail to be created (and says how many were refused so far).
void WatchProductObjects();
void ProductObjects(std::FILE* results, const char* label);
void RefuseProductShaders(std::FILE* results, bool refuse);

// Frames, state mismatches, failed Presents; at the end of the run.
void WriteRenderSummary(std::FILE* results);
void StopRendering();

}  // namespace sim
