#pragma once
// The settings menu's lines in the player's language: each item's name and
// its value as the player reads it ("Bottom right", "80 %", "Deutsch").
// Platform-free.
#include "app/menu_items.h"
#include "overlay/menu_view.h"
#include "words/language.h"

namespace artwheel {

// `language` is the one the texts are drawn in (never Auto).
void ComposeMenuLines(const Settings& settings, const MenuModel& model, Language language,
                      MenuLines& lines);

// The line of a save that failed, in that language ("%lu": the system's error).
void FormatMenuNotSaved(Language language, unsigned long error, char* out, size_t size);

}  // namespace artwheel
