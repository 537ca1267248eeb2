// The key table against itself and against the three places that name its
// keys for players: the starter file, the player guide and the README.
#include "app/settings_keys.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstring>
#include <fstream>
#include <set>
#include <sstream>
#include <string>
#include <utility>

namespace artwheel {
namespace {

using KeyName = std::pair<std::string, std::string>;

std::set<KeyName> TableKeys() {
  std::set<KeyName> keys;
  for (size_t i = 0; i < kSettingKeyCount; ++i) {
    keys.emplace(kSettingKeys[i].section, kSettingKeys[i].name);
  }
  return keys;
}

std::string ReadSourceFile(const char* relative) {
  std::ifstream file(std::string(ARTWHEEL_SOURCE_DIR) + "/" + relative, std::ios::binary);
  std::stringstream text;
  text << file.rdbuf();
  return text.str();
}

std::string Shown(const SettingKey& key, const Settings& settings) {
  char text[64];
  ShowKey(key, settings, ShowStyle::kFile, text, sizeof text);
  return text;
}

TEST(SettingKeys, EachDefaultTextIsTheRecordsDefaultAndEachKeyIsNamedOnce) {
  std::set<KeyName> seen;
  Settings changed;
  changed.logEnabled = true;
  changed.combinationEnabled = false;
  changed.heldButton = HeldButton::kRB;
  changed.overlay.layout.scaleMilli = 2500;
  changed.overlay.layout.opacityPercent = 40;
  changed.uiScanIntervalMs = 999;
  changed.dumpGlobalPointerLimit = 7;
  for (int slot = 0; slot < kSlotCount; ++slot) changed.slotArtIds[slot] = 9900;
  const Settings defaults;
  for (size_t i = 0; i < kSettingKeyCount; ++i) {
    const SettingKey& key = kSettingKeys[i];
    EXPECT_TRUE(seen.emplace(key.section, key.name).second) << key.section << " " << key.name;
    if (key.parse == nullptr) continue;
    ApplyKeyDefault(key, changed);
    EXPECT_EQ(Shown(key, changed), Shown(key, defaults)) << key.section << " " << key.name;
  }
}

TEST(SettingKeys, OnOffKeysTakeNumbersAndTheWordsOfIsDebugInAnyCase) {
  struct Case {
    const char* text;
    bool taken;
    bool on;
  };
  for (const Case& c :
       {Case{"1", true, true}, Case{"0", true, false}, Case{"7", true, true},
        Case{"-1", true, true}, Case{"00", true, false}, Case{"true", true, true},
        Case{"TRUE", true, true}, Case{"False", true, false}, Case{"on", true, true},
        Case{"OFF", true, false}, Case{"Yes", true, true}, Case{"no", true, false},
        Case{"maybe", false, false}, Case{"enabled", false, false}, Case{"-", false, false}}) {
    bool on = !c.on;
    EXPECT_EQ(ParseSwitch(c.text, &on), c.taken) << c.text;
    if (c.taken) {
      EXPECT_EQ(on, c.on) << c.text;
    }
  }
}

TEST(SettingKeys, ScalesAreShownAsTheShortestDecimal) {
  char text[16];
  for (const auto& [milli, shown] : {std::pair<uint32_t, const char*>{1000, "1.0"},
                                     {1500, "1.5"},
                                     {1250, "1.25"},
                                     {500, "0.5"},
                                     {3000, "3.0"},
                                     {1125, "1.125"}}) {
    FormatScaleMilli(milli, text, sizeof text);
    EXPECT_STREQ(text, shown);
  }
}

// A refused value leaves the field as it was: the default at a start, the
// previous value at a reload.
TEST(SettingKeys, ARefusedValueLeavesTheFieldAndAReloadRefusesTextInASlot) {
  Settings settings;
  settings.overlay.layout.scaleMilli = 1500;
  settings.slotArtIds[2] = 7300;
  for (size_t i = 0; i < kSettingKeyCount; ++i) {
    const SettingKey& key = kSettingKeys[i];
    if (key.parse == nullptr) continue;
    const std::string before = Shown(key, settings);
    if (key.refusal == Refusal::kNone) continue;
    EXPECT_FALSE(key.parse(KeyText{"not a value", 0, false}, settings, key.slot))
        << key.section << " " << key.name;
    EXPECT_EQ(Shown(key, settings), before) << key.section << " " << key.name;
  }
  EXPECT_EQ(settings.slotArtIds[2], 7300u);
  // At a start, text in a slot is read as the profile functions convert it.
  const SettingKey* slotB = nullptr;
  for (size_t i = 0; i < kSettingKeyCount; ++i) {
    if (std::strcmp(kSettingKeys[i].section, "Slots") == 0 && kSettingKeys[i].slot == 2) {
      slotB = &kSettingKeys[i];
    }
  }
  ASSERT_NE(slotB, nullptr);
  EXPECT_TRUE(slotB->parse(KeyText{"abc", 0, true}, settings, 2));
  EXPECT_EQ(settings.slotArtIds[2], 0u);
}

// Keys as the starter file sets them: "[Section]" lines, then "Key=value".
std::set<KeyName> StarterKeys() {
  std::set<KeyName> keys;
  std::istringstream lines(ReadSourceFile("package/artwheel.starter.ini"));
  std::string line;
  std::string section;
  while (std::getline(lines, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.empty() || line[0] == ';') continue;
    if (line[0] == '[') {
      section = line.substr(1, line.find(']') - 1);
    } else if (line.find('=') != std::string::npos) {
      keys.emplace(section, line.substr(0, line.find('=')));
    }
  }
  return keys;
}

bool IsWordCharacter(char c) { return std::isalnum(static_cast<unsigned char>(c)) || c == '_'; }

// The word at `at`, and `at` moved past it; empty when none starts there.
std::string TakeWord(const std::string& text, size_t& at) {
  const size_t start = at;
  while (at < text.size() && IsWordCharacter(text[at])) ++at;
  return text.substr(start, at - start);
}

// Rows of the README's settings table: "| `[Section]` | `Key` | ...".
std::set<KeyName> ReadmeKeys() {
  std::set<KeyName> keys;
  const std::string text = ReadSourceFile("README.md");
  for (size_t at = text.find("\n| `["); at != std::string::npos; at = text.find("\n| `[", at)) {
    at += 5;
    const std::string section = TakeWord(text, at);
    if (section.empty() || text.compare(at, 6, "]` | `") != 0) continue;
    at += 6;
    const std::string key = TakeWord(text, at);
    if (!key.empty() && text.compare(at, 3, "` |") == 0) keys.emplace(section, key);
  }
  return keys;
}

// The guide names a key as "[Section] Key"; the slots' letters as "Y=" in
// their section's paragraph.
std::set<KeyName> GuideKeys() {
  std::set<KeyName> keys;
  const std::string text = ReadSourceFile("package/artwheel-README.txt");
  for (size_t at = text.find('['); at != std::string::npos; at = text.find('[', at)) {
    ++at;
    const std::string section = TakeWord(text, at);
    if (section.empty() || at >= text.size() || text[at] != ']') continue;
    const size_t spaces = text.find_first_not_of(" \t\r\n", at + 1);
    if (spaces == at + 1 || spaces == std::string::npos) continue;
    at = spaces;
    if (!std::isalpha(static_cast<unsigned char>(text[at]))) continue;
    keys.emplace(section, TakeWord(text, at));
  }
  return keys;
}

TEST(SettingKeys, TheStarterFileTheReadmeAndTheGuideNameEveryKeyAndNoOther) {
  const std::set<KeyName> table = TableKeys();
  EXPECT_EQ(StarterKeys(), table) << "package/artwheel.starter.ini";
  EXPECT_EQ(ReadmeKeys(), table) << "README.md, section Settings";
  const std::set<KeyName> guide = GuideKeys();
  for (const KeyName& key : table) {
    const bool slotLetter = key.second.size() == 1;
    if (slotLetter) {
      const std::string text = ReadSourceFile("package/artwheel-README.txt");
      EXPECT_NE(text.find("[" + key.first + "]"), std::string::npos) << key.first;
      EXPECT_NE(text.find(key.second + "="), std::string::npos) << key.second;
    } else {
      EXPECT_TRUE(guide.count(key) == 1)
          << "the guide does not name [" << key.first << "] " << key.second;
    }
  }
  for (const KeyName& key : guide) {
    if (table.count(key) == 1) continue;
    const bool sectionKnown = std::any_of(
        table.begin(), table.end(), [&key](const KeyName& k) { return k.first == key.first; });
    // "[Combination] Modifier names the button" names a key; "[Slots] of the
    // file" does not: only a word that is a key of another section counts.
    const bool namesKeyElsewhere = std::any_of(
        table.begin(), table.end(), [&key](const KeyName& k) { return k.second == key.second; });
    EXPECT_FALSE(sectionKnown && namesKeyElsewhere)
        << "the guide names [" << key.first << "] " << key.second << ", which is no key";
  }
}

}  // namespace
}  // namespace artwheel
