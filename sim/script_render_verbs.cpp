// The timeline's verbs of the game's rendering: its window and devices, its
// frames and their timings, screenshots and probes, and the failures of its
// Present.
#include <windows.h>

#include <cstring>

#include "game_renderer.h"
#include "lookups.h"
#include "script_verbs.h"

namespace sim::script {
namespace {

// window WIDTH HEIGHT: the first opens the window, later ones resize it
void OpenOrResizeWindow(const Line& line, std::FILE* results) {
  SetWindowSize(results, Number(Word(line, 1)), Number(Word(line, 2)));
}

// backbuffer FORMAT [colorspace]: R16G16B16A16_FLOAT, R10G10B10A2_UNORM or
// R8G8B8A8_UNORM at the same size; "colorspace" then sets HDR10's
void ChangeBackBufferFormat(const Line& line, std::FILE* results) {
  struct Named {
    const char* name;
    uint32_t format;
  };
  static constexpr Named kFormats[] = {
      {"R16G16B16A16_FLOAT", 10}, {"R10G10B10A2_UNORM", 24}, {"R8G8B8A8_UNORM", 28}};
  for (const Named& named : kFormats) {
    if (std::strcmp(Word(line, 1), named.name) == 0) {
      SetBackBufferFormat(results, named.name, named.format,
                          std::strcmp(Word(line, 2), "colorspace") == 0);
      return;
    }
  }
  std::fprintf(results, "backbuffer unknown format %s\n", Word(line, 1));
}

// frames COUNT
void WaitForFrames(const Line& line, std::FILE* results) {
  if (!WaitFrames(static_cast<int>(Number(Word(line, 1)))))
    std::fprintf(results, "timeout frames\n");
}

// waitpresent LIBRARY
void WaitForPresentThrough(const Line& line, std::FILE* results) {
  if (!WaitPresentThrough(Word(line, 1)))
    std::fprintf(results, "timeout waitpresent %s\n", Word(line, 1));
}

// screenshot NAME
void TakeScreenshot(const Line& line, std::FILE* results) { Screenshot(results, Word(line, 1)); }

// screenshot2 NAME: of the second device's window
void TakeSecondScreenshot(const Line& line, std::FILE* results) {
  ScreenshotSecond(results, Word(line, 1));
}

// pixel X Y [LABEL]: of the last screenshot
void WritePixel(const Line& line, std::FILE* results) {
  Pixel(results, Number(Word(line, 1)), Number(Word(line, 2)), Word(line, 3));
}

// values X Y LABEL: of the last screenshot, as the back buffer holds it
void WritePixelValues(const Line& line, std::FILE* results) {
  PixelValues(results, Number(Word(line, 1)), Number(Word(line, 2)), Word(line, 3));
}

// pixelrow X Y COUNT LABEL: of the last screenshot
void WritePixelRow(const Line& line, std::FILE* results) {
  PixelRow(results, Number(Word(line, 1)), Number(Word(line, 2)), Number(Word(line, 3)),
           Word(line, 4));
}

// untilpixel X Y R G B: screenshots ("untilpixel.png") until that pixel has
// that colour, for up to 10 s; the probes that follow are of the last one.
void WaitForPixel(const Line& line, std::FILE* results) {
  const uint32_t x = Number(Word(line, 1));
  const uint32_t y = Number(Word(line, 2));
  const uint8_t rgb[3] = {static_cast<uint8_t>(Number(Word(line, 3))),
                          static_cast<uint8_t>(Number(Word(line, 4))),
                          static_cast<uint8_t>(Number(Word(line, 5)))};
  const ULONGLONG deadline = GetTickCount64() + 10000;
  std::FILE* nowhere = std::tmpfile();
  bool seen = false;
  while (!seen && GetTickCount64() < deadline) {
    Screenshot(nowhere != nullptr ? nowhere : results, "untilpixel");
    seen = PixelIs(x, y, rgb);
  }
  if (nowhere != nullptr) std::fclose(nowhere);
  if (!seen) std::fprintf(results, "timeout untilpixel %u %u\n", x, y);
}

// references LABEL
void WriteBackBufferReferences(const Line& line, std::FILE* results) {
  BackBufferReferences(results, Word(line, 1));
}

// seconddevice WIDTH HEIGHT
void OpenSecondDevice(const Line& line, std::FILE* results) {
  StartSecondDevice(results, Number(Word(line, 1)), Number(Word(line, 2)));
}

void CloseSecondDevice(const Line&, std::FILE* results) { StopSecondDevice(results); }

void RecreateGameDevice(const Line&, std::FILE* results) { RecreateDevice(results); }

// oldrefs LABEL
void WriteOldDeviceReferences(const Line& line, std::FILE* results) {
  OldDeviceReferences(results, Word(line, 1));
}

void WrapPresentForFailures(const Line&, std::FILE*) { UseFaultyPresent(); }

// failpresent HRESULT COUNT
void FailNextPresents(const Line& line, std::FILE* results) {
  FailPresents(results, static_cast<long>(Number(Word(line, 1))),
               static_cast<int>(Number(Word(line, 2))));
}

// presentsync INTERVAL
void PresentOnceWithSync(const Line& line, std::FILE* results) {
  PresentWithSyncInterval(results, Number(Word(line, 1)));
}

// fps FRAMES_PER_SECOND: 0 presents as fast as possible
void SetFramesPerSecond(const Line& line, std::FILE*) { SetFrameRate(Number(Word(line, 1))); }

void StartFrameStats(const Line&, std::FILE*) { ResetFrameStats(); }

void ResumeFrameStats(const Line&, std::FILE*) { RecordFrameStats(true); }

void PauseFrameStats(const Line&, std::FILE*) { RecordFrameStats(false); }

// stats LABEL
void WriteFrameStats(const Line& line, std::FILE* results) { FrameStats(results, Word(line, 1)); }

void WatchProductD3DObjects(const Line&, std::FILE*) { WatchProductObjects(); }

// d3dobjects LABEL
void WriteProductD3DObjects(const Line& line, std::FILE* results) {
  ProductObjects(results, Word(line, 1));
}

// refuseshaders on|off
void RefuseShadersOfProduct(const Line& line, std::FILE* results) {
  RefuseProductShaders(results, std::strcmp(Word(line, 1), "on") == 0);
}

void WriteD3DModules(const Line&, std::FILE* results) { DescribeD3DModules(results); }

constexpr Verb kVerbs[] = {
    {"window", OpenOrResizeWindow},
    {"frames", WaitForFrames},
    {"waitpresent", WaitForPresentThrough},
    {"screenshot", TakeScreenshot},
    {"screenshot2", TakeSecondScreenshot},
    {"pixel", WritePixel},
    {"values", WritePixelValues},
    {"pixelrow", WritePixelRow},
    {"backbuffer", ChangeBackBufferFormat},
    {"untilpixel", WaitForPixel},
    {"references", WriteBackBufferReferences},
    {"seconddevice", OpenSecondDevice},
    {"secondstop", CloseSecondDevice},
    {"recreate", RecreateGameDevice},
    {"oldrefs", WriteOldDeviceReferences},
    {"faultypresent", WrapPresentForFailures},
    {"failpresent", FailNextPresents},
    {"presentsync", PresentOnceWithSync},
    {"fps", SetFramesPerSecond},
    {"statsreset", StartFrameStats},
    {"statson", ResumeFrameStats},
    {"statsoff", PauseFrameStats},
    {"stats", WriteFrameStats},
    {"d3dmodules", WriteD3DModules},
    {"countd3d", WatchProductD3DObjects},
    {"d3dobjects", WriteProductD3DObjects},
    {"refuseshaders", RefuseShadersOfProduct},
};

}  // namespace

std::span<const Verb> RenderVerbs() { return kVerbs; }

}  // namespace sim::script
