// The frame's HDR encoding: chosen from the setting, the back buffer's format
// and the colour space the game set, said in the log when it changes, and
// handed to the pixel shader through a constant buffer written only then.
#include "base/log.h"
#include "overlay/color_space_hook.h"
#include "overlay/hdr_output.h"
#include "overlay/overlay_renderer.h"

namespace artwheel {
namespace {

// The last choice the log was told of; drawing as stored until then.
HdrChoice loggedChoice;

HdrChoice ChooseFor(IDXGISwapChain* swapChain, const DXGI_SWAP_CHAIN_DESC& description,
                    const OverlaySettings& settings) {
  HdrChoice choice;
  choice.format = static_cast<uint32_t>(description.BufferDesc.Format);
  choice.paperWhiteNits = settings.hdrPaperWhiteNits;
  // Only Auto on a 10-bit buffer asks the swap chain what the game set.
  ColorSpaceCall call;
  if (settings.hdr == HdrMode::kAuto && choice.format == kFormatR10G10B10A2Unorm) {
    call = ReadColorSpace(swapChain);
  }
  choice.colorSpaceKnown = call.called;
  choice.colorSpace = call.colorSpace;
  choice.encoding = ChooseHdrEncoding(settings.hdr, choice.format, call);
  return choice;
}

bool SameValues(const HdrConstants& a, const HdrConstants& b) {
  for (int i = 0; i < 4; ++i) {
    if (a.values[i] != b.values[i]) return false;
  }
  return true;
}

}  // namespace

void PrepareHdrOutput(IDXGISwapChain* swapChain, const DXGI_SWAP_CHAIN_DESC& description,
                      const OverlaySettings& settings) {
  OverlayRenderer& r = overlayRenderer;
  const HdrChoice choice = ChooseFor(swapChain, description, settings);
  if (HdrChoiceNeedsLine(loggedChoice, choice)) {
    loggedChoice = choice;
    char line[256];
    if (FormatHdrChoiceLine(choice, line, sizeof line)) WriteLogLine(line);
  }
  const HdrConstants wanted = MakeHdrConstants(choice.encoding, choice.paperWhiteNits);
  if (SameValues(wanted, r.hdrBufferValues)) return;
  r.context->UpdateSubresource(r.hdrBuffer, 0, nullptr, &wanted, 0, 0);
  r.hdrBufferValues = wanted;
}

}  // namespace artwheel
