#pragma once
// What HudProbe and UIScan look at in the game: words that follow the HUD's
// visibility, pointer slots of the menu-state object, and data-section slots
// of the game's own image.
#include <cstdint>
#include <cstdio>

namespace sim {

void PrepareHudWorld();

// The HUD shown or hidden: gameplayHudA (+0x064) 1/0, a float word at +0x2F4
// 1.0/0.0, menu slot 0x0F8 a readable object or null, slot 0x100 a readable
// object or an unreadable page, and the words of the data-slot objects.
void SetHudVisible(bool visible);

// Data-section slots: the first `listed` of them listed (the first `pointed`
// of those point to objects of 512 bytes, the others hold 0), the rest hold 1.
void SetGlobalSlots(std::FILE* results, uint32_t listed, uint32_t pointed);

// A pointer slot of the menu-state object: "object N", "null" or "noaccess".
void SetMenuSlot(uint32_t offset, const char* target, uint32_t objectNumber);
void WriteObjectAddress(std::FILE* results, uint32_t objectNumber);
void SetObjectWords(uint32_t objectNumber, uint32_t offset, uint32_t count, uint32_t value);
void SetMenuWords(uint32_t offset, uint32_t count, uint32_t value);
void SetPlayerWords(uint32_t offset, uint32_t count, uint32_t value);

}  // namespace sim
