#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "scenario.h"

namespace e2e {
namespace {

// The shipped tiles carry the art's id as two rows of two digits ("87" over
// "00"), each 3 x 5 cells of 16 x 10 texels from these corners of the 128
// texel tile (scripts/make_resources.py).
constexpr int kDigitLeft[4] = {9, 71, 9, 71};
constexpr int kDigitTop[4] = {7, 7, 71, 71};
constexpr const char* kGlyphs[10][5] = {
    {"111", "101", "101", "101", "111"}, {"010", "110", "010", "010", "111"},
    {"111", "001", "111", "100", "111"}, {"111", "001", "111", "001", "111"},
    {"101", "101", "111", "001", "001"}, {"111", "100", "111", "001", "111"},
    {"111", "100", "111", "101", "111"}, {"111", "001", "001", "001", "001"},
    {"111", "101", "111", "101", "111"}, {"111", "101", "111", "001", "111"}};

struct Tile {
  const char* id;
  int left, top;  // the icon's 30 x 30 pixels on screen
};

// 1280 x 800 with AnyResolution: the picture is 1280 x 720 from y 40, the
// panel's row is 1280x720's and the wheel's icons are 30 pixels wide.
constexpr Tile kTiles[] = {
    {"8700", 1107, 608}, {"5900", 1107, 696}, {"6300", 1151, 652}, {"9100", 1063, 652}};

std::string Copy(const char* id) { return std::string(ARTWHEEL_RESOURCES) + "/" + id + ".png"; }

std::string ReadBinary(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream out;
  out << in.rdbuf();
  return out.str();
}

// The probe of each cell's centre, under "<tile>_<digit>_<row>_<column>".
std::string ProbeCells(const Tile& tile) {
  std::string script;
  for (int digit = 0; digit < 4; ++digit) {
    for (int row = 0; row < 5; ++row) {
      for (int column = 0; column < 3; ++column) {
        const double u = kDigitLeft[digit] + 16 * column + 8;
        const double v = kDigitTop[digit] + 10 * row + 5;
        const int x = tile.left + static_cast<int>(u * 30 / 128);
        const int y = tile.top + static_cast<int>(v * 30 / 128);
        script += Probe(std::string(tile.id) + "_" + std::to_string(digit) + "_" +
                            std::to_string(row) + "_" + std::to_string(column),
                        x, y);
      }
    }
  }
  return script;
}

// White ink, not the coloured tile nor the dark outline around the strokes.
bool IsInk(const Scenario& s, const std::string& label) {
  const auto lines = s.ResultsStartingWith("pixel " + label + " ");
  int r = 0, g = 0, b = 0;
  if (lines.empty() ||
      std::sscanf(lines[0].c_str() + 7 + label.size(), "%d %d %d", &r, &g, &b) != 3)
    return false;
  return r >= 170 && g >= 170 && b >= 170;
}

// Read as a player at 1280 x 800 would see them at Scale=1: every cell of
// every digit of the four shipped tiles is ink or not as its glyph says, so
// each digit's strokes and holes stay apart. The equipped slot (B, 6300)
// has a white ring around its tile; the others have none.
TEST(OverlayWheel, TheShippedTilesDigitsReadBackAt1280x800AndTheEquippedSlotIsRinged) {
  Scenario s = StandardScenario();
  s.WriteIni(
      "[General]\nIsDebug=1\n[Slots]\nY=8700\nA=5900\nB=6300\nX=9100\n[SkillPanel]\nEnable=1\n"
      "AnyResolution=1\nShowSlots=1\n");
  for (const char* id : {"bg", "8700", "5900", "6300", "9100"}) {
    s.WriteFile(std::string("resources/") + id + ".png", ReadBinary(Copy(id)));
  }
  std::string probes;
  for (const Tile& tile : kTiles) probes += ProbeCells(tile);
  s.Play(
      "own 6300 63\nequipped 63\nmenu activeOrHud 1\nmenu loadingOrUi 1\nmenu postLoad 1\n"
      "window 1280 800\npad 0 0\nwaitlog [Overlay] SkillPanel resolution=\npad 0 0x0002\n"
      // the 8700 tile's lower zeros: ink in the middle of their left stroke
      "untilpixel 1110 630 255 255 255\nuntilpixel 1144 667 255 255 255\nscreenshot wheel\n" +
      probes + Probe("ring", 1144, 667) + Probe("noring", 1100, 623) + "pad 0 0\n");
  for (const Tile& tile : kTiles) {
    for (int digit = 0; digit < 4; ++digit) {
      const int value = tile.id[digit] - '0';
      std::string read;
      std::string wanted;
      for (int row = 0; row < 5; ++row) {
        for (int column = 0; column < 3; ++column) {
          const std::string label = std::string(tile.id) + "_" + std::to_string(digit) + "_" +
                                    std::to_string(row) + "_" + std::to_string(column);
          read += IsInk(s, label) ? '1' : '0';
          wanted += kGlyphs[value][row][column];
        }
        read += ' ';
        wanted += ' ';
      }
      EXPECT_EQ(read, wanted) << tile.id << " digit " << digit;
    }
  }
  EXPECT_TRUE(PixelNear(s, "ring", {255, 255, 255}));
  EXPECT_TRUE(PixelNear(s, "noring", {32, 64, 96}));
}

}  // namespace
}  // namespace e2e
