#include "base/ini_scan.h"

#include "base/ini_text.h"
#include "base/utf8_text.h"

namespace artwheel {
namespace {

constexpr char kUtf8Mark[] = "\xEF\xBB\xBF";
constexpr size_t kUtf8MarkSize = 3;

}  // namespace

IniKeyScanner::IniKeyScanner(std::string_view key, char* out, size_t outSize)
    : IniKeyScanner({}, key, out, outSize) {}

IniKeyScanner::IniKeyScanner(std::string_view section, std::string_view key, char* out,
                             size_t outSize)
    : wantedSection_(section),
      wantedKey_(key),
      anySection_(section.empty()),
      inWantedSection_(section.empty()),
      out_(outSize > 0 ? out : nullptr),
      outCapacity_(outSize > 0 ? outSize - 1 : 0) {
  if (out_ != nullptr) out_[0] = '\0';
}

bool IniKeyScanner::Feed(const char* data, size_t size) {
  size_t i = 0;
  for (; atFileStart_ && i < size; ++i) {
    if (data[i] != kUtf8Mark[markMatched_]) {
      FeedMarkPrefix();  // not the mark: its first bytes were text after all
      break;
    }
    if (++markMatched_ == kUtf8MarkSize) {
      atFileStart_ = false;
      utf8Marked_ = true;
    }
  }
  for (; i < size && phase_ != Phase::kDone; ++i) FeedChar(data[i]);
  return phase_ == Phase::kDone;
}

IniScanResult IniKeyScanner::Finish() {
  FeedMarkPrefix();
  if (phase_ != Phase::kDone) EndLine();
  return result_;
}

void IniKeyScanner::FeedMarkPrefix() {
  if (!atFileStart_) return;
  atFileStart_ = false;
  for (size_t k = 0; k < markMatched_; ++k) FeedChar(kUtf8Mark[k]);
}

void IniKeyScanner::FeedChar(char c) {
  if (c == '\n') {
    EndLine();
    return;
  }
  switch (phase_) {
    case Phase::kLineStart:
      if (IsIniSpace(c)) return;
      if (c == '#' || c == ';') {
        phase_ = Phase::kSkipLine;
        return;
      }
      if (c == '[') {
        phase_ = anySection_ ? Phase::kSkipLine : Phase::kHeader;
        return;
      }
      phase_ = inWantedSection_ ? Phase::kKey : Phase::kSkipLine;
      if (phase_ == Phase::kSkipLine) return;
      [[fallthrough]];
    case Phase::kKey:
      if (c == '=') {
        EndKey();
      } else if (keyLength_ < kKeyCapacity) {
        key_[keyLength_++] = c;
      } else if (!IsIniSpace(c)) {
        keyTooLong_ = true;  // blanks past the capacity are trimmed away anyway
      }
      return;
    case Phase::kHeader:
      if (c == ']') {
        EndHeader();
      } else if (keyLength_ == 0 && IsIniSpace(c)) {
        return;  // leading blanks of the name
      } else if (keyLength_ < kKeyCapacity) {
        key_[keyLength_++] = c;
      } else if (!IsIniSpace(c)) {
        keyTooLong_ = true;
      }
      return;
    case Phase::kValue:
      if (c == '"') {
        insideQuotes_ = !insideQuotes_;
      } else if (!insideQuotes_ && (c == '#' || c == ';')) {
        phase_ = Phase::kValueComment;
        return;
      }
      StoreValueChar(c);
      return;
    case Phase::kValueComment:
    case Phase::kSkipLine:
    case Phase::kDone:
      return;
  }
}

void IniKeyScanner::EndKey() {
  const std::string_view key = TrimIni(std::string_view(key_, keyLength_));
  if (!keyTooLong_ && EqualsIgnoreCaseAscii(key, wantedKey_)) {
    phase_ = Phase::kValue;
  } else {
    phase_ = Phase::kSkipLine;
  }
}

void IniKeyScanner::EndHeader() {
  const std::string_view name = TrimIni(std::string_view(key_, keyLength_));
  inWantedSection_ = !keyTooLong_ && EqualsIgnoreCaseAscii(name, wantedSection_);
  phase_ = Phase::kSkipLine;  // nothing after the ']' counts
}

void IniKeyScanner::StoreValueChar(char c) {
  if (valueLength_ == 0 && IsIniSpace(c)) return;  // leading trim
  if (valueLength_ < outCapacity_) out_[valueLength_] = c;
  ++valueLength_;
  if (!IsIniSpace(c)) valueTrimmedEnd_ = valueLength_;
  if (c == '\0') valueHasNul_ = true;
}

void IniKeyScanner::EndLine() {
  if (phase_ == Phase::kValue || phase_ == Phase::kValueComment) {
    if (out_ == nullptr || valueTrimmedEnd_ > outCapacity_ || valueHasNul_) {
      result_ = valueHasNul_ ? IniScanResult::kHasNul : IniScanResult::kRejected;
      if (out_ != nullptr) out_[0] = '\0';
    } else {
      out_[valueTrimmedEnd_] = '\0';
      result_ = IniScanResult::kFound;
    }
    phase_ = Phase::kDone;
    return;
  }
  if (phase_ == Phase::kDone) return;
  if (phase_ == Phase::kHeader) EndHeader();  // no ']': the name runs to the line's end
  phase_ = Phase::kLineStart;
  keyLength_ = 0;
  keyTooLong_ = false;
}

IniScanResult FindIniKeyInStream(std::FILE* stream, std::string_view section, std::string_view key,
                                 char* out, size_t outSize, bool* wellFormedUtf8) {
  IniKeyScanner scanner(section, key, out, outSize);
  Utf8Check check;
  char chunk[4096];
  size_t got = 0;
  while ((got = std::fread(chunk, 1, sizeof chunk, stream)) > 0) {
    check.Feed(chunk, got);
    scanner.Feed(chunk, got);  // ignores what follows the key's line
  }
  const IniScanResult result = scanner.Finish();
  if (wellFormedUtf8 != nullptr) *wellFormedUtf8 = check.Finish();
  return result;
}

}  // namespace artwheel
