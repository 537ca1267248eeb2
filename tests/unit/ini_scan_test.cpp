#include "base/ini_scan.h"

#include <gtest/gtest.h>

#include <string>

namespace artwheel {
namespace {

struct Scan {
  IniScanResult result;
  std::string value;
};

Scan ScanText(const std::string& text, const char* key, size_t outSize = 32, size_t chunk = 0,
              const char* section = "") {
  std::string out(outSize + 8, '\x7F');  // guard bytes past the buffer
  IniKeyScanner scanner(section, key, out.data(), outSize);
  if (chunk == 0) chunk = text.size() + 1;
  for (size_t at = 0; at < text.size(); at += chunk) {
    if (scanner.Feed(text.data() + at, std::min(chunk, text.size() - at))) break;
  }
  const IniScanResult result = scanner.Finish();
  for (size_t i = outSize; i < out.size(); ++i)
    EXPECT_EQ(out[i], '\x7F') << "wrote past the buffer";
  return {result, std::string(out.c_str())};
}

TEST(IniKeyScanner, FindsTheKeyInAnySectionAndTheFirstLineWins) {
  const std::string text = "[General]\nIsDebug=false\n[Chainload]\nIsDebug=true\n";
  Scan scan = ScanText(text, "IsDebug");
  EXPECT_EQ(scan.result, IniScanResult::kFound);
  EXPECT_EQ(scan.value, "false");

  scan = ScanText("IsDebug=yes", "isdebug");  // no section, no final line break, key case
  EXPECT_EQ(scan.result, IniScanResult::kFound);
  EXPECT_EQ(scan.value, "yes");
}

// The key of one section: headers compared without case and trimmed, a
// comment after one ignored, the same key in other sections and before the
// first header passed over, the section's first line of the key taken.
TEST(IniKeyScanner, InOneSectionOnlyThatSectionsLinesCount) {
  const std::string text =
      "chainDInput8dllPath=none.dll\n[General]\nchainDInput8dllPath=general.dll\n"
      "  [ chainload ] ; the chain\n; chainDInput8dllPath=comment.dll\n"
      "chainDInput8dllPath = mods\\other.dll\nchainDInput8dllPath=second.dll\n"
      "[Chainload2]\nchainDInput8dllPath=other.dll\n";
  for (size_t chunk : {size_t{0}, size_t{1}, size_t{7}}) {
    Scan scan = ScanText(text, "chainDInput8dllPath", 64, chunk, "Chainload");
    EXPECT_EQ(scan.result, IniScanResult::kFound) << chunk;
    EXPECT_EQ(scan.value, "mods\\other.dll") << chunk;
  }
  EXPECT_EQ(ScanText(text, "chainDInput8dllPath", 64).value, "none.dll");  // any section

  // Not there, or only in another section, or the section named later again.
  EXPECT_EQ(ScanText(text, "chainDInput8dllPath", 64, 0, "Loader").result,
            IniScanResult::kNotFound);
  const std::string again =
      "[Chainload]\nOther=1\n[General]\nchainDInput8dllPath=general.dll\n[CHAINLOAD]\n"
      "chainDInput8dllPath=later.dll";
  EXPECT_EQ(ScanText(again, "chainDInput8dllPath", 64, 0, "Chainload").value, "later.dll");
  // A header without its ']' names a section up to the line's end.
  EXPECT_EQ(
      ScanText("[Chainload\nchainDInput8dllPath=x.dll\n", "chainDInput8dllPath", 64, 0, "Chainload")
          .value,
      "x.dll");
  // A UTF-8 mark before the first header does not hide it.
  EXPECT_EQ(ScanText("\xEF\xBB\xBF[Chainload]\nchainDInput8dllPath=m.dll\n", "chainDInput8dllPath",
                     64, 1, "Chainload")
                .value,
            "m.dll");
}

// A file saved as UTF-8 with its mark: the mark is not part of the first key,
// also when it arrives a byte at a time; a text that only begins like it is text.
TEST(IniKeyScanner, TheUtf8MarkStartsNoKey) {
  for (size_t chunk : {size_t{0}, size_t{1}}) {
    std::string out(64, '\0');
    IniKeyScanner marked("IsDebug", out.data(), out.size());
    const std::string text =
        "\xEF\xBB\xBFIsDebug=\xD0\x94"
        "a\n";
    for (size_t at = 0; at < text.size(); at += chunk == 0 ? text.size() : chunk) {
      marked.Feed(text.data() + at, chunk == 0 ? text.size() : chunk);
    }
    EXPECT_EQ(marked.Finish(), IniScanResult::kFound) << chunk;
    EXPECT_TRUE(marked.Utf8Marked());
    EXPECT_STREQ(out.c_str(),
                 "\xD0\x94"
                 "a");
  }
  char value[8];
  IniKeyScanner halfMark("\xEF\xBBIsDebug", value, sizeof value);
  halfMark.Feed("\xEF\xBBIsDebug=1", 11);
  EXPECT_EQ(halfMark.Finish(), IniScanResult::kFound);
  EXPECT_FALSE(halfMark.Utf8Marked());
  EXPECT_EQ(ScanText("\xEF\xBB", "x").result, IniScanResult::kNotFound);
}

TEST(IniKeyScanner, SkipsCommentsHeadersAndLinesWithoutEquals) {
  const std::string text =
      "; IsDebug=1\n# IsDebug=2\n[IsDebug=3]\nIsDebug\n  \t\nIsDebugX=4\n  IsDebug  =  ON ; c \r\n";
  const Scan scan = ScanText(text, "IsDebug");
  EXPECT_EQ(scan.result, IniScanResult::kFound);
  EXPECT_EQ(scan.value, "ON");
}

// The key is trimmed before it is compared, however many blanks follow it.
TEST(IniKeyScanner, BlanksBetweenKeyAndEqualsDoNotCountAgainstTheKeyLength) {
  const std::string padded = "IsDebug" + std::string(70, ' ') + "\t= true ; note\n";
  EXPECT_EQ(ScanText(padded, "IsDebug").value, "true");
  const std::string longKey = std::string(60, 'k') + std::string(10, ' ') + "x=1\n";
  EXPECT_EQ(ScanText(longKey, "IsDebug").result, IniScanResult::kNotFound);
}

TEST(IniKeyScanner, KeepsQuotesAndCommentCharactersInsideThem) {
  const Scan scan = ScanText("chainDInput8dllPath = \"C:\\My Mods\\x;1.dll\" # old one\n",
                             "chainDInput8dllPath", 1024);
  EXPECT_EQ(scan.result, IniScanResult::kFound);
  EXPECT_EQ(scan.value, "\"C:\\My Mods\\x;1.dll\"");
}

TEST(IniKeyScanner, EmptyValueIsFoundAndEmpty) {
  const Scan scan = ScanText("IsDebug=   ; nothing\n", "IsDebug");
  EXPECT_EQ(scan.result, IniScanResult::kFound);
  EXPECT_EQ(scan.value, "");
}

TEST(IniKeyScanner, AbsentKeyIsNotFound) {
  EXPECT_EQ(ScanText("", "IsDebug").result, IniScanResult::kNotFound);
  EXPECT_EQ(ScanText("[General]\nOther=1\n", "IsDebug").result, IniScanResult::kNotFound);
}

TEST(IniKeyScanner, ValueThatDoesNotFitIsRejectedNotCut) {
  Scan scan = ScanText("IsDebug=" + std::string(31, 'a') + "   \n", "IsDebug", 32);
  EXPECT_EQ(scan.result, IniScanResult::kFound);  // 31 characters plus trailing blanks fit
  EXPECT_EQ(scan.value.size(), 31u);
  scan = ScanText("IsDebug=" + std::string(32, 'a') + "\n", "IsDebug", 32);
  EXPECT_EQ(scan.result, IniScanResult::kRejected);
  EXPECT_EQ(scan.value, "");
  scan =
      ScanText("IsDebug=" + std::string(40, ' ') + "x\n", "IsDebug", 4);  // leading blanks are free
  EXPECT_EQ(scan.result, IniScanResult::kFound);
  EXPECT_EQ(scan.value, "x");
}

TEST(IniKeyScanner, NulInsideTheValueIsRejectedAsSuch) {
  const std::string text = std::string("IsDebug=o\0n\n", 12);
  EXPECT_EQ(ScanText(text, "IsDebug").result, IniScanResult::kHasNul);
  // A NUL also in a value too long for the buffer: the NUL is what is reported.
  EXPECT_EQ(ScanText("IsDebug=" + std::string(40, 'a') + std::string(1, '\0') + "\n", "IsDebug", 8)
                .result,
            IniScanResult::kHasNul);
}

TEST(IniKeyScanner, LinesOfAnyLengthAndCrOnlyEndsAreReadWhole) {
  // A 1 MB line before the key, fed in odd-sized chunks.
  std::string text = "Junk=" + std::string(1 << 20, 'z') + "\nIsDebug=on\n";
  Scan scan = ScanText(text, "IsDebug", 32, 4093);
  EXPECT_EQ(scan.result, IniScanResult::kFound);
  EXPECT_EQ(scan.value, "on");
  // A very long key never matches and never overflows.
  scan = ScanText(std::string(5000, 'K') + "=1\nIsDebug=1\n", "IsDebug");
  EXPECT_EQ(scan.value, "1");
  // CR alone does not end a line: everything after the first '=' is the value.
  scan = ScanText("IsDebug=yes\rOther=1\r", "IsDebug");
  EXPECT_EQ(scan.result, IniScanResult::kFound);
  EXPECT_EQ(scan.value, "yes\rOther=1");
}

TEST(IniKeyScanner, ZeroSizedOutputNeverWrites) {
  IniKeyScanner scanner("IsDebug", nullptr, 0);
  scanner.Feed("IsDebug=1\n", 10);
  EXPECT_EQ(scanner.Finish(), IniScanResult::kRejected);
}

}  // namespace
}  // namespace artwheel
