#include "diagnostics/watch_state.h"

#include <gtest/gtest.h>

#include <string>

namespace artwheel {
namespace {

TEST(ChangedList, FirstLineListsEveryFieldAndPlayerFieldsOnlyWhenRead) {
  WatchSnapshot previous = {};
  WatchSnapshot current = {};
  for (int i = 0; i < kWatchedMenuCount; ++i) current.menu[i] = i;
  for (int i = 0; i < kWatchedPlayerCount; ++i) current.player[i] = 100 + i;
  char list[kChangedListSize];
  EXPECT_TRUE(BuildChangedList(false, previous, current, true, list));
  const std::string text = list;
  EXPECT_EQ(text.rfind("+0x018:0 +0x01C:1 +0x020:2 +0x064:3 +0x040:4 ", 0), 0u);
  EXPECT_NE(text.find("PGD+0x010:100 PGD+0x0DC:101 "), std::string::npos);
  EXPECT_EQ(text.substr(text.size() - 14), "PGD+0x16C:106 ");
  EXPECT_TRUE(BuildChangedList(false, previous, current, false, list));
  EXPECT_EQ(std::string(list).find("PGD"), std::string::npos);
}

TEST(ChangedList, LaterLinesListOnlyChanges) {
  WatchSnapshot previous = {};
  WatchSnapshot current = {};
  char list[kChangedListSize];
  EXPECT_FALSE(BuildChangedList(true, previous, current, true, list));
  EXPECT_STREQ(list, "");
  current.menu[4] = 2;    // pauseMenu
  current.player[0] = 9;  // arrives late: compared with 0
  EXPECT_TRUE(BuildChangedList(true, previous, current, true, list));
  EXPECT_STREQ(list, "+0x040:0->2 PGD+0x010:0->9 ");
  EXPECT_TRUE(BuildChangedList(true, previous, current, false, list));
  EXPECT_STREQ(list, "+0x040:0->2 ");
}

TEST(ChangedList, TheLongestListFits) {
  WatchSnapshot previous = {};
  WatchSnapshot current = {};
  for (uint32_t& v : previous.menu) v = 0xFFFFFFFF;
  for (uint32_t& v : previous.player) v = 0xFFFFFFFF;
  for (uint32_t& v : current.menu) v = 0xFFFFFFFE;
  for (uint32_t& v : current.player) v = 0xFFFFFFFE;
  char list[kChangedListSize];
  BuildChangedList(true, previous, current, true, list);
  EXPECT_EQ(std::string(list).size(), 14 * 30 + 7 * 33u);
}

TEST(ScannerStateTable, FirstSightingThenChangesAndFullAfter4096Addresses) {
  static ScannerStateTable table;
  uint32_t old = 0;
  EXPECT_EQ(table.Track(0x1000, 5, &old), ScannerStateTable::Result::kFirstSighting);
  EXPECT_EQ(table.Track(0x1000, 5, &old), ScannerStateTable::Result::kUnchanged);
  EXPECT_EQ(table.Track(0x1000, 6, &old), ScannerStateTable::Result::kChanged);
  EXPECT_EQ(old, 5u);
  for (uint64_t i = 1; i < ScannerStateTable::kCapacity; ++i) {
    ASSERT_EQ(table.Track(0x1000 + 4 * i, 0, &old), ScannerStateTable::Result::kFirstSighting);
  }
  EXPECT_EQ(table.Track(0x9999000, 1, &old), ScannerStateTable::Result::kFull);
  EXPECT_EQ(table.Track(0x1000 + 4 * 4095, 1, &old), ScannerStateTable::Result::kChanged);
  EXPECT_EQ(table.Track(0x1000, 7, &old), ScannerStateTable::Result::kChanged);  // still tracked
}

}  // namespace
}  // namespace artwheel
