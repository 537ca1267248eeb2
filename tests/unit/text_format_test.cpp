#include "base/text_format.h"

#include <gtest/gtest.h>

#include <string>

namespace artwheel {
namespace {

ARTWHEEL_PRINTF(3, 4) int Truncated(char* buffer, size_t size, const char* format, ...) {
  va_list args;
  va_start(args, format);
  const int result = FormatTruncatedV(buffer, size, format, args);
  va_end(args);
  return result;
}

TEST(FormatText, RefusesATextThatDoesNotFitInsteadOfCuttingIt) {
  char buffer[8];
  EXPECT_EQ(FormatText(buffer, sizeof buffer, "%s", "1234567"), 7);
  EXPECT_STREQ(buffer, "1234567");
  EXPECT_EQ(FormatText(buffer, sizeof buffer, "%s", "12345678"), -1);
  EXPECT_STREQ(buffer, "");
  EXPECT_EQ(FormatText(buffer, 0, "%s", "x"), -1);
}

TEST(FormatTruncated, CutsLogMessagesTo511Characters) {
  char buffer[512];
  const std::string longText(600, 'm');
  EXPECT_EQ(Truncated(buffer, sizeof buffer, "%s", longText.c_str()), 511);
  EXPECT_EQ(std::string(buffer), longText.substr(0, 511));
  EXPECT_EQ(Truncated(buffer, sizeof buffer, "[Skill] %u", 7300u), 12);
}

TEST(AppendText, AppendsOnlyWhatFitsWhole) {
  char buffer[8] = "abc";
  EXPECT_TRUE(AppendText(buffer, sizeof buffer, "defg"));
  EXPECT_STREQ(buffer, "abcdefg");
  EXPECT_FALSE(AppendText(buffer, sizeof buffer, "h"));
  EXPECT_STREQ(buffer, "abcdefg");
}

}  // namespace
}  // namespace artwheel
