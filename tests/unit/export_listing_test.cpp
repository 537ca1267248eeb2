#include "app/export_listing.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

namespace artwheel {
namespace {

TEST(ExportListing, JoinsNamesInOrder) {
  ExportListing listing;
  for (const char* name : {"DirectInput8Create", "DllCanUnloadNow", "DllGetClassObject", "Extra"}) {
    EXPECT_TRUE(listing.Add(name));
  }
  EXPECT_STREQ(listing.text(), "DirectInput8Create, DllCanUnloadNow, DllGetClassObject, Extra");
}

TEST(ExportListing, StopsAfterTheNameThatReaches448BytesAndMarksTheCut) {
  ExportListing listing;
  int added = 0;
  for (int i = 0; i < 500; ++i) {
    char name[16];
    std::snprintf(name, sizeof name, "Export%03d", i);
    if (!listing.Add(name)) break;
    ++added;
  }
  const std::string text = listing.text();
  ASSERT_GE(text.size(), 448u + 5);
  EXPECT_EQ(text.substr(text.size() - 5), ", ...");
  const std::string body = text.substr(0, text.size() - 5);
  EXPECT_GE(body.size(), 448u);
  EXPECT_LT(body.size() - 11, 448u);  // the last name (", ExportNNN") crossed the line
  EXPECT_EQ(body.rfind("Export0", 0), 0u);
  EXPECT_FALSE(listing.Add("More"));
}

TEST(ExportListing, ANameTooLongForTheRestIsLeftOutNotCut) {
  ExportListing listing;
  const std::string huge(600, 'N');
  EXPECT_TRUE(listing.Add("First"));
  EXPECT_FALSE(listing.Add(huge.c_str()));
  EXPECT_STREQ(listing.text(), "First, ...");
  ExportListing alone;
  EXPECT_FALSE(alone.Add(huge.c_str()));
  EXPECT_LT(std::strlen(alone.text()), kExportListingSize);
}

// A name that brings the text from below 448 bytes to the end of the buffer
// still leaves room for the closing mark.
TEST(ExportListing, TheCutIsMarkedEvenWhenTheLastNameFillsTheBuffer) {
  ExportListing listing;
  const std::string first(345, 'a');
  const std::string last(162, 'b');  // 345 + 2 + 162 = 509 bytes
  EXPECT_TRUE(listing.Add(first.c_str()));
  EXPECT_FALSE(listing.Add(last.c_str()));
  EXPECT_EQ(std::string(listing.text()), first + ", ...");
  ExportListing fits;
  const std::string shorter(157, 'b');  // 345 + 2 + 157 = 504: kept, then the mark
  EXPECT_TRUE(fits.Add(first.c_str()));
  EXPECT_FALSE(fits.Add(shorter.c_str()));
  EXPECT_EQ(std::string(fits.text()), first + ", " + shorter + ", ...");
}

}  // namespace
}  // namespace artwheel
