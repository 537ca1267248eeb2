#include "app/menu_texts.h"

#include "base/text_format.h"
#include "input/combo.h"
#include "words/words.h"

namespace artwheel {
namespace {

const char* Text(Language language, Word word) { return WordText(language, word); }

// The word's "%u" (or "%lu") replaced by the number and "%%" by "%": the
// translated patterns are not handed to printf.
void SayNumber(const char* pattern, unsigned long number, char* out, size_t size) {
  char digits[24];
  FormatText(digits, sizeof digits, "%lu", number);
  size_t used = 0;
  for (const char* c = pattern; *c != '\0' && used + 1 < size; ++c) {
    if (c[0] == '%' && c[1] == '%') {
      out[used++] = '%';
      ++c;
      continue;
    }
    const size_t skip = c[0] == '%' && c[1] == 'u'                  ? 1
                        : c[0] == '%' && c[1] == 'l' && c[2] == 'u' ? 2
                                                                    : 0;
    if (skip == 0) {
      out[used++] = *c;
      continue;
    }
    for (const char* d = digits; *d != '\0' && used + 1 < size; ++d) out[used++] = *d;
    c += skip;
  }
  out[used] = '\0';
}

// Each language in its own name.
constexpr const char* kLanguageNames[kLanguageValueCount] = {
    "",        "English",  "简体中文", "繁體中文",           "日本語",
    "한국어",  "Русский",  "Español",  "Português (Brasil)", "Français",
    "Deutsch", "Italiano", "Polski"};

constexpr Word kItemNames[kMenuItemCount] = {
    Word::kMenuCombinations, Word::kMenuHeldButton, Word::kMenuButtonNames, Word::kMenuController,
    Word::kMenuSkillPanel,   Word::kMenuCorner,     Word::kMenuScale,       Word::kMenuOpacity,
    Word::kMenuSlotWheel,    Word::kMenuLanguage,   Word::kMenuHdr,         Word::kMenuPaperWhite,
    Word::kMenuClose};

void SayOnOff(Language language, bool on, char* out, size_t size) {
  FormatText(out, size, "%s", Text(language, on ? Word::kMenuOn : Word::kMenuOff));
}

void SayValue(const Settings& s, MenuItemId id, Language language, char* out, size_t size) {
  const PanelLayout& layout = s.overlay.layout;
  switch (id) {
    case MenuItemId::kCombinations:
      return SayOnOff(language, s.combinationEnabled, out, size);
    case MenuItemId::kHeldButton:
      FormatText(out, size, "%s", Text(language, HeldButtonWord(s.heldButton, s.buttonNames)));
      return;
    case MenuItemId::kButtonNames:
      FormatText(out, size, "%s",
                 s.buttonNames == ButtonNames::kPlayStation ? "PlayStation" : "Xbox");
      return;
    case MenuItemId::kController:
      if (s.controller == PadChoice::kAuto) {
        FormatText(out, size, "%s", Text(language, Word::kMenuAuto));
      } else {
        FormatText(out, size, "%u", static_cast<unsigned>(s.controller));
      }
      return;
    case MenuItemId::kSkillPanel:
      return SayOnOff(language, s.skillPanelEnabled, out, size);
    case MenuItemId::kCorner: {
      constexpr Word kCorners[] = {Word::kMenuBottomRight, Word::kMenuBottomLeft,
                                   Word::kMenuTopRight, Word::kMenuTopLeft};
      FormatText(out, size, "%s", Text(language, kCorners[static_cast<int>(layout.corner) & 3]));
      return;
    }
    case MenuItemId::kScale:
      FormatScaleMilli(layout.scaleMilli, out, size);
      return;
    case MenuItemId::kOpacity:
      SayNumber(Text(language, Word::kMenuPercent), layout.opacityPercent, out, size);
      return;
    case MenuItemId::kSlotWheel:
      return SayOnOff(language, layout.showSlots, out, size);
    case MenuItemId::kLanguage: {
      const int index = static_cast<int>(s.language);
      FormatText(out, size, "%s",
                 index == 0 ? Text(language, Word::kMenuAuto) : kLanguageNames[index]);
      return;
    }
    case MenuItemId::kHdr: {
      constexpr const char* kModes[] = {nullptr, nullptr, "PQ", "scRGB"};
      const int mode = static_cast<int>(s.overlay.hdr) & 3;
      const char* word = mode == 0   ? Text(language, Word::kMenuOff)
                         : mode == 1 ? Text(language, Word::kMenuAuto)
                                     : kModes[mode];
      FormatText(out, size, "%s", word);
      return;
    }
    case MenuItemId::kPaperWhite:
      SayNumber(Text(language, Word::kMenuNits), s.overlay.hdrPaperWhiteNits, out, size);
      return;
    case MenuItemId::kClose:
      break;
  }
  FormatText(out, size, "%s", "");
}

}  // namespace

void ComposeMenuLines(const Settings& settings, const MenuModel& model, Language language,
                      MenuLines& lines) {
  lines.language = language;
  lines.opacityPercent = settings.overlay.layout.opacityPercent;
  lines.rowCount = kMenuItemCount;
  lines.selected = model.selected;
  FormatText(lines.title, sizeof lines.title, "%s", Text(language, Word::kMenuTitle));
  for (int i = 0; i < kMenuItemCount; ++i) {
    FormatText(lines.names[i], sizeof lines.names[i], "%s", Text(language, kItemNames[i]));
    SayValue(settings, kMenuItems[i].id, language, lines.values[i], sizeof lines.values[i]);
  }
}

void FormatMenuNotSaved(Language language, unsigned long error, char* out, size_t size) {
  constexpr unsigned long kAccessDenied = 5;
  constexpr unsigned long kWriteProtect = 19;
  constexpr unsigned long kSharingViolation = 32;
  constexpr unsigned long kLockViolation = 33;
  const char* why = nullptr;
  char coded[96];
  if (error == kAccessDenied || error == kWriteProtect) {
    why = Text(language, Word::kNotSavedReadOnly);
  } else if (error == kSharingViolation || error == kLockViolation) {
    why = Text(language, Word::kNotSavedInUse);
  } else {
    SayNumber(Text(language, Word::kNotSavedError), error, coded, sizeof coded);
    why = coded;
  }
  FormatText(out, size, "%s%s", Text(language, Word::kMenuChanged), why);
}

}  // namespace artwheel
