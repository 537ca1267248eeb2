// The settings menu's texts in every language, measured with the fonts GDI
// really has: each picture of the menu finds a face with every glyph, and
// every item's name and every value it can take fit their columns at the
// smallest picture players use (1280 x 800), so none is cut by an ellipsis.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "app/menu_items.h"
#include "app/menu_texts.h"
#include "overlay/menu_view.h"
#include "overlay/text_faces.h"

namespace artwheel {
namespace {

std::wstring Wide(const char* text) {
  wchar_t wide[256];
  const int length = MultiByteToWideChar(CP_UTF8, 0, text, -1, wide, 256);
  return length > 0 ? std::wstring(wide) : std::wstring();
}

// Every text of the menu's picture, as its drawing asks for a face.
std::wstring AllTexts(const MenuLines& lines) {
  std::wstring all = Wide(lines.title);
  for (int i = 0; i < lines.rowCount; ++i) all += Wide(lines.names[i]) + Wide(lines.values[i]);
  return all;
}

// The width of the text in the menu's row font of that face.
int TextWidth(HDC dc, const wchar_t* face, int rowHeight, const std::wstring& text) {
  HFONT font = CreateFontW(rowHeight * 3 / 5, 0, 0, 0, 500, FALSE, FALSE, FALSE, DEFAULT_CHARSET, 0,
                           0, CLEARTYPE_QUALITY, FF_SWISS, face);
  HGDIOBJ previous = SelectObject(dc, font);
  SIZE size{};
  GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &size);
  SelectObject(dc, previous);
  DeleteObject(font);
  return size.cx;
}

TEST(MenuWords, EveryNameAndValueHasItsGlyphsAndFitsItsColumnAt1280x800) {
  HDC dc = CreateCompatibleDC(nullptr);
  ASSERT_NE(dc, nullptr);
  const MenuBox box = LayOutMenu(1280, 800, kMenuItemCount);
  const int nameRoom = box.valueLeft - box.padding;
  const int valueRoom = box.width - box.padding - box.valueLeft;
  for (int l = 1; l < kLanguageValueCount; ++l) {
    const auto language = static_cast<Language>(l);
    for (int item = 0; item + 1 < kMenuItemCount; ++item) {
      Settings settings;
      const MenuModel model{item};
      // Every value the item takes, one step right at a time (a range from its low end).
      for (int left = 0; left < MenuValueCount(kMenuItems[item]); ++left) {
        StepMenuValue(kMenuItems[item], settings, -1);
      }
      for (int step = 0; step < MenuValueCount(kMenuItems[item]); ++step) {
        MenuLines lines;
        ComposeMenuLines(settings, model, language, lines);
        const wchar_t* face = ChooseTextFace(dc, language, AllTexts(lines).c_str());
        ASSERT_NE(face, nullptr) << kLanguageCodes[l] << " item " << item << ": a glyph is missing";
        const std::wstring name = Wide(lines.names[item]);
        const std::wstring value = L"<  " + Wide(lines.values[item]) + L"  >";
        EXPECT_LE(TextWidth(dc, face, box.rowHeight, name), nameRoom)
            << kLanguageCodes[l] << ": " << lines.names[item];
        EXPECT_LE(TextWidth(dc, face, box.rowHeight, value), valueRoom)
            << kLanguageCodes[l] << ": " << lines.values[item];
        StepMenuValue(kMenuItems[item], settings, +1);
      }
    }
  }
  DeleteDC(dc);
}

}  // namespace
}  // namespace artwheel
