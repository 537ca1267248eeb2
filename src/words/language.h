#pragma once
// The languages the overlay speaks ([General] Language). Platform-free.
#include <cstdint>

namespace artwheel {

// kAuto follows the system's user interface language. Every other value is
// one language, in the order of kLanguageCodes.
enum class Language : uint8_t {
  kAuto,
  kEn,
  kZhHans,
  kZhHant,
  kJa,
  kKo,
  kRu,
  kEs,
  kPtBr,
  kFr,
  kDe,
  kIt,
  kPl,
};

inline constexpr int kLanguageValueCount = 13;  // kAuto included

// As written in artwheel.ini, indexed by Language.
inline constexpr const char* kLanguageCodes[kLanguageValueCount] = {
    "Auto", "en", "zh-Hans", "zh-Hant", "ja", "ko", "ru", "es", "pt-BR", "fr", "de", "it", "pl"};

}  // namespace artwheel
