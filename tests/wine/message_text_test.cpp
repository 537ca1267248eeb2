// The message's picture under Wine, with the CJK font the setup installs.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdint>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "../e2e/png_file.h"
#include "base/log.h"
#include "input/combo.h"
#include "overlay/message_picture.h"
#include "slots/assign.h"
#include "slots/slot_labels.h"

namespace artwheel {
namespace {

constexpr uint32_t kBackground = 0xD80A0C0Eu;  // alpha 216, red 10, green 12, blue 14

struct Picture {
  std::vector<uint32_t> pixels;
  MessageDrawing drawing;
};

void Keep(const void* pixels, const MessageDrawing& drawing, void* context) {
  auto* picture = static_cast<Picture*>(context);
  const auto* first = static_cast<const uint32_t*>(pixels);
  picture->pixels.assign(first, first + kMessagePictureWidth * kMessagePictureHeight);
  picture->drawing = drawing;
}

Picture Draw(const std::wstring& text, Language language, const std::wstring& english) {
  OverlayMessage message;
  wcsncpy(message.text, text.c_str(), kMessageCapacity - 1);
  wcsncpy(message.english, english.c_str(), kMessageCapacity - 1);
  message.language = language;
  Picture picture;
  EXPECT_TRUE(DrawMessagePicture(message, &Keep, &picture));
  return picture;
}

// The message exactly as it was drawn before it had languages.
std::vector<uint32_t> DrawnAsBefore(const std::wstring& text) {
  BITMAPINFO info = {};
  info.bmiHeader = {sizeof(BITMAPINFOHEADER), 512, -80, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
  void* bits = nullptr;
  HDC dc = CreateCompatibleDC(nullptr);
  HBITMAP bitmap = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  HGDIOBJ previousBitmap = SelectObject(dc, bitmap);
  RECT area = {0, 0, 512, 80};
  HBRUSH brush = CreateSolidBrush(RGB(10, 12, 14));
  FillRect(dc, &area, brush);
  DeleteObject(brush);
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, RGB(244, 249, 255));
  const auto font = [](int height) {
    return CreateFontW(height, 0, 0, 0, 600, FALSE, FALSE, FALSE, DEFAULT_CHARSET, 0, 0,
                       CLEARTYPE_QUALITY, FF_SWISS, L"Segoe UI");
  };
  HFONT large = font(30);
  HGDIOBJ previousFont = SelectObject(dc, large);
  RECT measured = area;
  DrawTextW(dc, text.c_str(), -1, &measured, DT_CALCRECT | DT_SINGLELINE);
  if (measured.right - measured.left <= 512) {
    DrawTextW(dc, text.c_str(), -1, &area,
              DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_END_ELLIPSIS);
  } else {
    SelectObject(dc, font(24));
    DeleteObject(large);
    measured = area;
    DrawTextW(dc, text.c_str(), -1, &measured, DT_CALCRECT | DT_CENTER | DT_WORDBREAK);
    const LONG height = measured.bottom - measured.top;
    area.top = height < 80 ? (80 - height) / 2 : 0;
    DrawTextW(dc, text.c_str(), -1, &area, DT_CENTER | DT_WORDBREAK | DT_END_ELLIPSIS);
  }
  DeleteObject(SelectObject(dc, previousFont));
  GdiFlush();
  std::vector<uint32_t> pixels(static_cast<const uint32_t*>(bits),
                               static_cast<const uint32_t*>(bits) + 512 * 80);
  for (uint32_t& pixel : pixels) pixel = (pixel & 0x00FFFFFFu) | 0xD8000000u;
  SelectObject(dc, previousBitmap);
  DeleteObject(bitmap);
  DeleteDC(dc);
  return pixels;
}

std::wstring Wide(const char* utf8) {
  wchar_t wide[kMessageCapacity] = {};
  MultiByteToWideChar(CP_UTF8, 0, utf8, -1, wide, kMessageCapacity);
  return wide;
}

void ChooseButtons(HeldButton held, ButtonNames names) {
  SetSlotWords(SlotWords{HeldButtonLabel(held, names),
                         {FaceButtonName(0, names), FaceButtonName(1, names),
                          FaceButtonName(2, names), FaceButtonName(3, names)},
                         HeldButtonWord(held, names),
                         {FaceButtonWord(0, names), FaceButtonWord(1, names),
                          FaceButtonWord(2, names), FaceButtonWord(3, names)}});
}

// The confirmation of slot 0 in that language, with the not-saved reason of
// `saveError`, in the buttons chosen last.
std::wstring Confirmation(Language language, unsigned long saveError) {
  char words[kSlotButtonWordsSize];
  char message[kAssignedMessageSize];
  FormatSlotButtonWords(0, language, words);
  EXPECT_TRUE(FormatAssignedMessage(language, words, saveError, message));
  return Wide(message);
}

// Every test logs into its own folder; the log is read at the end.
class MessagePicture : public ::testing::Test {
 protected:
  void SetUp() override {
    char temp[MAX_PATH];
    GetTempPathA(sizeof temp, temp);
    GetCurrentDirectoryA(sizeof previous_, previous_);
    folder_ = std::string(temp) + "artwheel_message_test_" + std::to_string(GetCurrentProcessId());
    CreateDirectoryA(folder_.c_str(), nullptr);
    SetCurrentDirectoryA(folder_.c_str());
    SetLogEnabled(true);
  }
  void TearDown() override {
    SetLogEnabled(false);
    DeleteFileA((folder_ + "\\artwheel_log.txt").c_str());
    SetCurrentDirectoryA(previous_);
    RemoveDirectoryA(folder_.c_str());
    ChooseButtons(HeldButton::kDpadDown, ButtonNames::kXbox);
  }
  std::string Log() const {
    std::ifstream in(folder_ + "\\artwheel_log.txt", std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
  }
  char previous_[MAX_PATH] = {};
  std::string folder_;
};

size_t Count(const std::string& text, const std::string& part) {
  size_t count = 0;
  for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++count;
  return count;
}

// Each row or column at the picture's edges is background: nothing reached them.
bool EdgesClear(const std::vector<uint32_t>& pixels) {
  for (int x = 0; x < kMessagePictureWidth; ++x) {
    if (pixels[x] != kBackground ||
        pixels[(kMessagePictureHeight - 1) * kMessagePictureWidth + x] != kBackground)
      return false;
  }
  for (int y = 0; y < kMessagePictureHeight; ++y) {
    if (pixels[y * kMessagePictureWidth] != kBackground ||
        pixels[y * kMessagePictureWidth + kMessagePictureWidth - 1] != kBackground)
      return false;
  }
  return true;
}

// The pictures are kept beside the test program (bin/messages) for a look.
void Save(const std::vector<uint32_t>& pixels, const std::string& name) {
  char path[MAX_PATH];
  GetModuleFileNameA(nullptr, path, MAX_PATH);
  std::string folder(path);
  folder = folder.substr(0, folder.find_last_of('\\')) + "\\messages";
  CreateDirectoryA(folder.c_str(), nullptr);
  std::vector<e2e::Rgba> rgba;
  for (const uint32_t p : pixels) {
    rgba.push_back({static_cast<uint8_t>(p >> 16), static_cast<uint8_t>(p >> 8),
                    static_cast<uint8_t>(p), 255});
  }
  std::ofstream(folder + "\\" + name + ".png", std::ios::binary)
      << e2e::RgbaPng(kMessagePictureWidth, kMessagePictureHeight, rgba);
}

// With the key absent the texts are English and drawn pixel for pixel as before.
TEST_F(MessagePicture, EnglishIsDrawnAsBefore) {
  for (const ButtonNames names : {ButtonNames::kXbox, ButtonNames::kPlayStation}) {
    ChooseButtons(names == ButtonNames::kXbox ? HeldButton::kDpadDown : HeldButton::kDpadRight,
                  names);
    for (const unsigned long error : {0ul, static_cast<unsigned long>(ERROR_ACCESS_DENIED),
                                      static_cast<unsigned long>(ERROR_SHARING_VIOLATION), 112ul}) {
      const std::wstring text = Confirmation(Language::kEn, error);
      const Picture picture = Draw(text, Language::kEn, text);
      EXPECT_FALSE(picture.drawing.english);
      EXPECT_TRUE(picture.pixels == DrawnAsBefore(text)) << "error " << error;
    }
  }
}

TEST_F(MessagePicture, EveryLanguageDrawsItsShortAndLongMessagesWholeWithEveryGlyph) {
  for (int i = 1; i < kLanguageValueCount; ++i) {
    const auto language = static_cast<Language>(i);
    const std::string code = kLanguageCodes[i];
    ChooseButtons(HeldButton::kDpadDown, ButtonNames::kXbox);
    const std::wstring shortText = Confirmation(language, 0);
    ChooseButtons(HeldButton::kDpadRight, ButtonNames::kPlayStation);
    const std::wstring longText = Confirmation(language, ERROR_SHARING_VIOLATION);
    for (const auto& [text, name] :
         {std::pair{shortText, code}, std::pair{longText, code + "-long"}}) {
      const Picture picture = Draw(text, language, L"English");
      EXPECT_FALSE(picture.drawing.english) << name;
      EXPECT_FALSE(picture.drawing.fitted.cut) << name;
      EXPECT_TRUE(EdgesClear(picture.pixels)) << name;
      EXPECT_NE(picture.pixels, std::vector<uint32_t>(picture.pixels.size(), kBackground)) << name;
      Save(picture.pixels, name);
    }
    // Said once per language (English may have been drawn before).
    EXPECT_EQ(Count(Log(), "[Overlay] Texts in " + code + " are drawn with the font "),
              language == Language::kEn ? Count(Log(), "Texts in en ") : 1u)
        << code;
  }
  // Far too long: cut at the floor after a whole character, still inside.
  const Picture cut = Draw(std::wstring(120, L'\u0416'), Language::kRu, L"English");
  EXPECT_TRUE(cut.drawing.fitted.cut);
  EXPECT_EQ(cut.drawing.fitted.fontHeight, 16);
  EXPECT_TRUE(EdgesClear(cut.pixels));
  Save(cut.pixels, "ru-cut");
  std::printf("%s", Log().c_str());  // the fonts each language got
  EXPECT_EQ(Count(Log(), "drawn in English"), 0u);
}

// A text whose glyphs no installed face has is drawn in English, said once.
TEST_F(MessagePicture, WithoutAFaceForItsGlyphsTheTextIsDrawnInEnglish) {
  const std::wstring english = L"Skill assigned to DPad Down + Y";
  const std::wstring ethiopic = L"\u1230\u120B\u121D DPad Down + Y";
  for (int attempt = 0; attempt < 2; ++attempt) {
    const Picture picture = Draw(ethiopic, Language::kKo, english);
    EXPECT_TRUE(picture.drawing.english);
    EXPECT_TRUE(picture.pixels == DrawnAsBefore(english));
  }
  EXPECT_EQ(Count(Log(),
                  "[Overlay] No installed font has every glyph of the ko texts; they are "
                  "drawn in English"),
            1u)
      << Log();
}

}  // namespace
}  // namespace artwheel
