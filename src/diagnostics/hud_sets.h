#pragma once
// HudProbe's records, the merge of a capture into a kind's stable set, and
// the classes of the comparison. Platform-free.
#include <cstdint>

#include "diagnostics/key_index.h"

namespace artwheel {

inline constexpr int kMaxHudSamples = 12000;
inline constexpr int kMaxPointerOffsets = 128;
inline constexpr int kMaxGlobalPointers = 60000;
inline constexpr int kMaxGlobalFields = 120000;
inline constexpr uint32_t kFloatOne = 0x3F800000;

struct HudSample {
  uint64_t address;
  uint32_t value;
  char label[64];
};

struct PointerOffsetSample {
  uint32_t offset;
  uint64_t value;
  bool readable;
};

struct GlobalPointerSample {
  uint32_t rva;
  uint64_t value;
  bool readable;
};

struct GlobalFieldSample {
  uint32_t ptrRva;
  uint32_t offset;
  uint32_t value;
};

inline uint64_t FieldKey(uint32_t ptrRva, uint32_t offset) {
  return (static_cast<uint64_t>(ptrRva) << 32) | offset;
}

// The one index the diagnostics share; worker thread only.
extern KeyIndex hudKeyIndex;

// Keeps the stable entries whose first match in the capture survives: equal
// values (samples, fields; a sample at address 0 never survives) or equal
// readability (pointers, which take the captured value). Kept entries move to
// the front in their order; the result is the new count.
int IntersectSamples(HudSample* stable, int stableCount, const HudSample* capture,
                     int captureCount);
int IntersectPointerOffsets(PointerOffsetSample* stable, int stableCount,
                            const PointerOffsetSample* capture, int captureCount);
int IntersectGlobalPointers(GlobalPointerSample* stable, int stableCount,
                            const GlobalPointerSample* capture, int captureCount);
int IntersectGlobalFields(GlobalFieldSample* stable, int stableCount,
                          const GlobalFieldSample* capture, int captureCount);

enum class SampleClass { kStrong, kFloatStrong, kCandidate };

bool IsStrongPair(uint32_t visible, uint32_t hidden);
bool IsFloatStrongPair(uint32_t visible, uint32_t hidden);
bool IsCandidatePair(uint32_t visible, uint32_t hidden);
bool SampleClassHolds(SampleClass sampleClass, uint32_t visible, uint32_t hidden);

// Walks the visible stable samples in order, pairing each with its first
// match in the hidden set (indexed by BuildHiddenSampleIndex), and calls
// emit(visible, hidden) for pairs of the class until `limit` were emitted.
// Returns the number emitted.
void BuildHiddenSampleIndex(const HudSample* hidden, int hiddenCount);
template <typename Emit>
int CompareSamples(const HudSample* visible, int visibleCount, const HudSample* hidden,
                   SampleClass sampleClass, int limit, Emit emit);

// The same for the other sets; each builds its own index of the hidden set.
template <typename Emit>
int ComparePointerOffsets(const PointerOffsetSample* visible, int visibleCount,
                          const PointerOffsetSample* hidden, int hiddenCount, int limit, Emit emit);
template <typename Emit>
int CompareGlobalPointers(const GlobalPointerSample* visible, int visibleCount,
                          const GlobalPointerSample* hidden, int hiddenCount, int limit, Emit emit);
// `floatClass` false: v = 1, h = 0; true: v = 1.0f, h = 0. Call
// BuildHiddenFieldIndex first.
void BuildHiddenFieldIndex(const GlobalFieldSample* hidden, int hiddenCount);
template <typename Emit>
int CompareGlobalFields(const GlobalFieldSample* visible, int visibleCount,
                        const GlobalFieldSample* hidden, bool floatClass, int limit, Emit emit);

// ---------------------------------------------------------------------------

template <typename Emit>
int CompareSamples(const HudSample* visible, int visibleCount, const HudSample* hidden,
                   SampleClass sampleClass, int limit, Emit emit) {
  auto keyOf = [hidden](uint32_t i) { return hidden[i].address; };
  int emitted = 0;
  for (int i = 0; i < visibleCount && emitted < limit; ++i) {
    if (visible[i].address == 0) continue;
    const int32_t match = hudKeyIndex.Find(visible[i].address, keyOf);
    if (match < 0 || !SampleClassHolds(sampleClass, visible[i].value, hidden[match].value))
      continue;
    emit(visible[i], hidden[match]);
    ++emitted;
  }
  return emitted;
}

template <typename Record, typename KeyFn, typename Emit>
int ComparePointerLike(const Record* visible, int visibleCount, const Record* hidden,
                       int hiddenCount, int limit, KeyFn key, Emit emit) {
  auto keyOf = [hidden, key](uint32_t i) { return key(hidden[i]); };
  hudKeyIndex.Build(static_cast<uint32_t>(hiddenCount), keyOf);
  int emitted = 0;
  for (int i = 0; i < visibleCount && emitted < limit; ++i) {
    const int32_t match = hudKeyIndex.Find(key(visible[i]), keyOf);
    if (match < 0 || !visible[i].readable || hidden[match].readable) continue;
    emit(visible[i], hidden[match]);
    ++emitted;
  }
  return emitted;
}

template <typename Emit>
int ComparePointerOffsets(const PointerOffsetSample* visible, int visibleCount,
                          const PointerOffsetSample* hidden, int hiddenCount, int limit,
                          Emit emit) {
  return ComparePointerLike(
      visible, visibleCount, hidden, hiddenCount, limit,
      [](const PointerOffsetSample& s) { return uint64_t{s.offset}; }, emit);
}

template <typename Emit>
int CompareGlobalPointers(const GlobalPointerSample* visible, int visibleCount,
                          const GlobalPointerSample* hidden, int hiddenCount, int limit,
                          Emit emit) {
  return ComparePointerLike(
      visible, visibleCount, hidden, hiddenCount, limit,
      [](const GlobalPointerSample& s) { return uint64_t{s.rva}; }, emit);
}

template <typename Emit>
int CompareGlobalFields(const GlobalFieldSample* visible, int visibleCount,
                        const GlobalFieldSample* hidden, bool floatClass, int limit, Emit emit) {
  auto keyOf = [hidden](uint32_t i) { return FieldKey(hidden[i].ptrRva, hidden[i].offset); };
  const uint32_t wanted = floatClass ? kFloatOne : 1;
  int emitted = 0;
  for (int i = 0; i < visibleCount && emitted < limit; ++i) {
    if (visible[i].value != wanted) continue;
    const int32_t match = hudKeyIndex.Find(FieldKey(visible[i].ptrRva, visible[i].offset), keyOf);
    if (match < 0 || hidden[match].value != 0) continue;
    emit(visible[i], hidden[match]);
    ++emitted;
  }
  return emitted;
}

}  // namespace artwheel
