#include "game_pads.h"

#include <xinput.h>

#include <atomic>

#include "pads.h"

namespace sim {
namespace {

constexpr DWORD kFrameMs = 16;

std::atomic<uint32_t> polledIndexes{0};
std::atomic<uint32_t> seenButtons[kSimPadCount];
std::atomic<uint32_t> goodReads[kSimPadCount];
std::atomic<bool> pollStarted{false};

DWORD WINAPI PollPads(void*) {
  for (;;) {
    const uint32_t indexes = polledIndexes.load();
    for (DWORD i = 0; i < kSimPadCount; ++i) {
      if ((indexes & (1u << i)) == 0) continue;
      XINPUT_STATE state = {};
      if (XInputGetState(i, &state) != ERROR_SUCCESS) continue;
      seenButtons[i].fetch_or(state.Gamepad.wButtons);
      goodReads[i].fetch_add(1);
    }
    Sleep(kFrameMs);
  }
}

}  // namespace

void PollPadsEveryFrame(uint32_t indexes) {
  polledIndexes.store(indexes);
  if (indexes == 0 || pollStarted.exchange(true)) return;
  if (HANDLE thread = CreateThread(nullptr, 0, &PollPads, nullptr, 0, nullptr)) {
    CloseHandle(thread);
  }
}

PadSeen SeenByGame(int index) { return {seenButtons[index].load(), goodReads[index].load()}; }

void ForgetSeenByGame() {
  for (int i = 0; i < kSimPadCount; ++i) {
    seenButtons[i].store(0);
    goodReads[i].store(0);
  }
}

}  // namespace sim
