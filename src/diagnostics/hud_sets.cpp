#include "diagnostics/hud_sets.h"

namespace artwheel {

KeyIndex hudKeyIndex;

namespace {

// Indexes the capture, then keeps the stable entries whose first match passes `survives`.
template <typename Record, typename KeyFn, typename Survives>
int Intersect(Record* stable, int stableCount, const Record* capture, int captureCount, KeyFn key,
              Survives survives) {
  auto keyOf = [capture, key](uint32_t i) { return key(capture[i]); };
  hudKeyIndex.Build(static_cast<uint32_t>(captureCount > 0 ? captureCount : 0), keyOf);
  int kept = 0;
  for (int i = 0; i < stableCount; ++i) {
    const int32_t match = hudKeyIndex.Find(key(stable[i]), keyOf);
    if (match < 0 || !survives(stable[i], capture[match])) continue;
    if (kept != i) stable[kept] = stable[i];
    ++kept;
  }
  return kept;
}

}  // namespace

int IntersectSamples(HudSample* stable, int stableCount, const HudSample* capture,
                     int captureCount) {
  return Intersect(
      stable, stableCount, capture, captureCount, [](const HudSample& s) { return s.address; },
      [](HudSample& kept, const HudSample& captured) {
        return kept.address != 0 && kept.value == captured.value;
      });
}

int IntersectPointerOffsets(PointerOffsetSample* stable, int stableCount,
                            const PointerOffsetSample* capture, int captureCount) {
  return Intersect(
      stable, stableCount, capture, captureCount,
      [](const PointerOffsetSample& s) { return uint64_t{s.offset}; },
      [](PointerOffsetSample& kept, const PointerOffsetSample& captured) {
        if (kept.readable != captured.readable) return false;
        kept.value = captured.value;
        return true;
      });
}

int IntersectGlobalPointers(GlobalPointerSample* stable, int stableCount,
                            const GlobalPointerSample* capture, int captureCount) {
  return Intersect(
      stable, stableCount, capture, captureCount,
      [](const GlobalPointerSample& s) { return uint64_t{s.rva}; },
      [](GlobalPointerSample& kept, const GlobalPointerSample& captured) {
        if (kept.readable != captured.readable) return false;
        kept.value = captured.value;
        return true;
      });
}

int IntersectGlobalFields(GlobalFieldSample* stable, int stableCount,
                          const GlobalFieldSample* capture, int captureCount) {
  return Intersect(
      stable, stableCount, capture, captureCount,
      [](const GlobalFieldSample& s) { return FieldKey(s.ptrRva, s.offset); },
      [](GlobalFieldSample& kept, const GlobalFieldSample& captured) {
        return kept.value == captured.value;
      });
}

bool IsStrongPair(uint32_t visible, uint32_t hidden) { return visible == 1 && hidden == 0; }

bool IsFloatStrongPair(uint32_t visible, uint32_t hidden) {
  return visible == kFloatOne && hidden == 0;
}

bool IsCandidatePair(uint32_t visible, uint32_t hidden) {
  if (IsStrongPair(visible, hidden) || visible == hidden) return false;
  return (visible <= 16 && hidden <= 16) || IsFloatStrongPair(visible, hidden) ||
         (visible == 0 && hidden == kFloatOne) || visible == 0xFFFFFFFF || hidden == 0xFFFFFFFF;
}

bool SampleClassHolds(SampleClass sampleClass, uint32_t visible, uint32_t hidden) {
  switch (sampleClass) {
    case SampleClass::kStrong:
      return IsStrongPair(visible, hidden);
    case SampleClass::kFloatStrong:
      return IsFloatStrongPair(visible, hidden);
    case SampleClass::kCandidate:
      return IsCandidatePair(visible, hidden);
  }
  return false;
}

void BuildHiddenSampleIndex(const HudSample* hidden, int hiddenCount) {
  hudKeyIndex.Build(static_cast<uint32_t>(hiddenCount > 0 ? hiddenCount : 0),
                    [hidden](uint32_t i) { return hidden[i].address; });
}

void BuildHiddenFieldIndex(const GlobalFieldSample* hidden, int hiddenCount) {
  hudKeyIndex.Build(static_cast<uint32_t>(hiddenCount > 0 ? hiddenCount : 0),
                    [hidden](uint32_t i) { return FieldKey(hidden[i].ptrRva, hidden[i].offset); });
}

}  // namespace artwheel
