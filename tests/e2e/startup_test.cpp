#include <gtest/gtest.h>

#include <regex>

#include "scenario.h"

namespace e2e {
namespace {

constexpr char kReady[] = "waitlog [Core] Initialization OK\n";

TEST(Startup, LogLinesHaveTheFormatAndTheStartSequence) {
  Scenario s = StandardScenario();
  s.WriteIni("[General]\nIsDebug=true\n");
  s.WriteScript(std::string(kReady) + "exit 0\n");
  ASSERT_EQ(s.Run(), 0);

  const std::string log = s.Log();
  ASSERT_FALSE(log.empty());
  ASSERT_EQ(log.substr(log.size() - 2), "\r\n");
  const std::regex line(R"(\[\d{4}-\d{2}-\d{2} \d{2}:\d{2}:\d{2}\] \[pid=\d+ tid=\d+\] \[[A-Za-z]+\] [^\r\n]*\r\n)");
  std::string rest = log;
  std::smatch match;
  while (!rest.empty()) {
    ASSERT_TRUE(std::regex_search(rest, match, line, std::regex_constants::match_continuous))
        << "bad line at: " << rest.substr(0, 120);
    rest = match.suffix();
  }

  const auto messages = s.LogMessages();
  ASSERT_GE(messages.size(), 5u);
  EXPECT_TRUE(std::regex_match(messages[0], std::regex(R"(\[Core\] Process image: .*\\sekiro\.exe)")))
      << messages[0];
  EXPECT_EQ(messages[1], "[Core] Thread started");
  EXPECT_EQ(messages[2].rfind("[Config] Loaded from ", 0), 0u);
  EXPECT_EQ(messages[3], "[Overlay] Disabled in config");
  EXPECT_EQ(messages[4], "[Core] Initialization OK");
}

}  // namespace
}  // namespace e2e
