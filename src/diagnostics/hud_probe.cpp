#include "diagnostics/hud_probe.h"

#include <windows.h>

#include <cstdio>
#include <initializer_list>

#include "base/log.h"
#include "base/wide_path.h"
#include "diagnostics/diagnostics_settings.h"
#include "diagnostics/hud_capture.h"
#include "diagnostics/hud_dump.h"
#include "diagnostics/hud_sets.h"

namespace artwheel {
namespace {

constexpr int kSampleLineLimit = 80;
constexpr int kGlobalLineLimit = 120;

template <typename Record, int Capacity>
struct RecordSet {
  Record entries[Capacity];
  int count;
};

// One kind's capture buffers and stable sets, in static storage.
struct HudKind {
  RecordSet<HudSample, kMaxHudSamples> samples;
  RecordSet<PointerOffsetSample, kMaxPointerOffsets> pointerOffsets;
  RecordSet<GlobalPointerSample, kMaxGlobalPointers> globalPointers;
  RecordSet<GlobalFieldSample, kMaxGlobalFields> globalFields;
  RecordSet<HudSample, kMaxHudSamples> stableSamples;
  RecordSet<PointerOffsetSample, kMaxPointerOffsets> stablePointerOffsets;
  RecordSet<GlobalPointerSample, kMaxGlobalPointers> stableGlobalPointers;
  RecordSet<GlobalFieldSample, kMaxGlobalFields> stableGlobalFields;
  int snapshots;
};

struct HudProbeStateRecord {
  HudKind visible;
  HudKind hidden;
};

HudProbeStateRecord HudProbeState;

struct HotKey {
  int code;
  const char* name;
  bool down;
};

HotKey hotKeys[] = {{VK_F6, "F6", false},
                    {VK_F7, "F7", false},
                    {VK_F8, "F8", false},
                    {VK_F9, "F9", false},
                    {VK_F10, "F10", false}};

bool PollPressed(HotKey& key) {
  const bool down = (GetAsyncKeyState(key.code) & 0x8000) != 0;
  const bool pressed = down && !key.down;
  key.down = down;
  return pressed;
}

template <typename Record, int Capacity>
void CopyFirst(RecordSet<Record, Capacity>& stable, const RecordSet<Record, Capacity>& capture) {
  const int n = capture.count < Capacity ? capture.count : Capacity;
  for (int i = 0; i < n; ++i) stable.entries[i] = capture.entries[i];
  stable.count = n;
}

// Pointers and global pointers: s is the snapshot counter before this snapshot.
template <typename Record, int Capacity, typename IntersectFn>
void MergePointers(RecordSet<Record, Capacity>& stable, const RecordSet<Record, Capacity>& capture,
                   int s, IntersectFn intersect) {
  if (capture.count < 1) return;
  if (s == 0) {
    CopyFirst(stable, capture);
  } else {
    stable.count = intersect(stable.entries, stable.count, capture.entries, capture.count);
  }
}

void MergeKind(HudKind& kind) {
  const int s = kind.snapshots;
  MergePointers(kind.stablePointerOffsets, kind.pointerOffsets, s, IntersectPointerOffsets);
  MergePointers(kind.stableGlobalPointers, kind.globalPointers, s, IntersectGlobalPointers);
  if (kind.samples.count >= 1) {
    if (s == 0) {
      CopyFirst(kind.stableSamples, kind.samples);
      kind.snapshots = 1;
    } else {
      kind.stableSamples.count =
          IntersectSamples(kind.stableSamples.entries, kind.stableSamples.count,
                           kind.samples.entries, kind.samples.count);
      ++kind.snapshots;
    }
  }
  // Decided on the counter after the samples: a sample-less later snapshot
  // with one sampled snapshot behind it replaces the stable fields.
  if (!HudProbeConfig().globalFields || kind.globalFields.count < 1) return;
  if (kind.snapshots == 1) {
    CopyFirst(kind.stableGlobalFields, kind.globalFields);
  } else {
    kind.stableGlobalFields.count =
        IntersectGlobalFields(kind.stableGlobalFields.entries, kind.stableGlobalFields.count,
                              kind.globalFields.entries, kind.globalFields.count);
  }
}

void Capture(HudKind& kind, const char* label) {
  DumpSnapshot(label);
  CaptureSamples(kind.samples.entries, &kind.samples.count, label);
  CapturePointerOffsets(kind.pointerOffsets.entries, &kind.pointerOffsets.count);
  CollectGlobalPointers(kind.globalPointers.entries, &kind.globalPointers.count);
  if (HudProbeConfig().globalFields) {
    CollectGlobalFields(kind.globalFields.entries, &kind.globalFields.count);
  } else {
    kind.globalFields.count = 0;
  }
  MergeKind(kind);
  WriteLogFormat(
      "[HudProbe] Stable %s samples: %d pointerOffsets: %d globalPointers: %d globalFields: %d",
      label, kind.stableSamples.count, kind.stablePointerOffsets.count,
      kind.stableGlobalPointers.count, kind.stableGlobalFields.count);
  CompareHudSnapshots();
}

void* AsPointer(uint64_t value) { return reinterpret_cast<void*>(value); }

void EmptyDumpFile(const char* fileName) {
  char path[kUtf8PathSize];
  if (!DumpFilePath(fileName, path)) return;
  // Nothing was written: closing cannot lose anything.
  if (std::FILE* file = OpenFileUtf8(path, L"w")) static_cast<void>(std::fclose(file));
}

}  // namespace

void CaptureHudVisible(const char* keyName) {
  WriteLogFormat("[HudProbe] HUD_VISIBLE hotkey pressed: %s",
                 keyName != nullptr ? keyName : "unknown");
  Capture(HudProbeState.visible, "HUD_VISIBLE");
}

void CaptureHudHidden() { Capture(HudProbeState.hidden, "HUD_HIDDEN"); }

void CompareHudSnapshots() {
  const HudKind& v = HudProbeState.visible;
  const HudKind& h = HudProbeState.hidden;
  if (v.stableSamples.count == 0 || h.stableSamples.count == 0) return;
  WriteLogFormat(
      "[HudProbe] Stable comparison: visibleSnapshots=%d hiddenSnapshots=%d; prefer visible=1 "
      "hidden=0",
      v.snapshots, h.snapshots);

  const HudSample* hiddenSamples = h.stableSamples.entries;
  BuildHiddenSampleIndex(hiddenSamples, h.stableSamples.count);
  const int strong = CompareSamples(
      v.stableSamples.entries, v.stableSamples.count, hiddenSamples, SampleClass::kStrong,
      kSampleLineLimit, [](const HudSample& a, const HudSample& b) {
        WriteLogFormat("[HudProbe] STRONG %s @%p visible=%u hidden=%u", a.label,
                       AsPointer(a.address), a.value, b.value);
      });
  const int floatStrong = CompareSamples(
      v.stableSamples.entries, v.stableSamples.count, hiddenSamples, SampleClass::kFloatStrong,
      kSampleLineLimit, [](const HudSample& a, const HudSample&) {
        WriteLogFormat("[HudProbe] FLOAT_STRONG %s @%p visible=1.0 hidden=0.0", a.label,
                       AsPointer(a.address));
      });
  const int candidates = CompareSamples(
      v.stableSamples.entries, v.stableSamples.count, hiddenSamples, SampleClass::kCandidate,
      kSampleLineLimit, [](const HudSample& a, const HudSample& b) {
        WriteLogFormat("[HudProbe] CANDIDATE %s @%p visible=%u hidden=%u", a.label,
                       AsPointer(a.address), a.value, b.value);
      });
  const int pointerStrong = ComparePointerOffsets(
      v.stablePointerOffsets.entries, v.stablePointerOffsets.count, h.stablePointerOffsets.entries,
      h.stablePointerOffsets.count, kSampleLineLimit,
      [](const PointerOffsetSample& a, const PointerOffsetSample& b) {
        WriteLogFormat(
            "[HudProbe] POINTER_STRONG MenuState+0x%03X visible=%p readable=1 hidden=%p readable=0",
            a.offset, AsPointer(a.value), AsPointer(b.value));
      });
  BuildHiddenFieldIndex(h.stableGlobalFields.entries, h.stableGlobalFields.count);
  const int globalStrong = CompareGlobalFields(
      v.stableGlobalFields.entries, v.stableGlobalFields.count, h.stableGlobalFields.entries, false,
      kGlobalLineLimit, [](const GlobalFieldSample& a, const GlobalFieldSample& b) {
        WriteLogFormat("[HudProbe] GLOBAL_STRONG ptrRva=0x%X obj+0x%03X visible=%u hidden=%u",
                       a.ptrRva, a.offset, a.value, b.value);
      });
  const int globalFloat = CompareGlobalFields(
      v.stableGlobalFields.entries, v.stableGlobalFields.count, h.stableGlobalFields.entries, true,
      kGlobalLineLimit, [](const GlobalFieldSample& a, const GlobalFieldSample&) {
        WriteLogFormat(
            "[HudProbe] GLOBAL_FLOAT_STRONG ptrRva=0x%X obj+0x%03X visible=1.0 hidden=0.0",
            a.ptrRva, a.offset);
      });
  const int globalPointer = CompareGlobalPointers(
      v.stableGlobalPointers.entries, v.stableGlobalPointers.count, h.stableGlobalPointers.entries,
      h.stableGlobalPointers.count, kGlobalLineLimit,
      [](const GlobalPointerSample& a, const GlobalPointerSample& b) {
        WriteLogFormat(
            "[HudProbe] GLOBAL_POINTER_STRONG ptrRva=0x%X visible=%p readable=1 hidden=%p "
            "readable=0",
            a.rva, AsPointer(a.value), AsPointer(b.value));
      });
  WriteLogFormat(
      "[HudProbe] Comparison complete: strong=%d floatStrong=%d other=%d pointerStrong=%d "
      "globalStrong=%d globalFloat=%d globalPointer=%d",
      strong, floatStrong, candidates, pointerStrong, globalStrong, globalFloat, globalPointer);
}

void ResetHudProbe() {
  for (HudKind* kind : {&HudProbeState.visible, &HudProbeState.hidden}) {
    kind->samples.count = kind->pointerOffsets.count = kind->globalPointers.count = 0;
    kind->globalFields.count = kind->stableSamples.count = kind->stablePointerOffsets.count = 0;
    kind->stableGlobalPointers.count = kind->stableGlobalFields.count = 0;
    kind->snapshots = 0;
  }
  EmptyDumpFile(kVisibleDumpFile);
  EmptyDumpFile(kHiddenDumpFile);
  WriteLogLine("[HudProbe] Snapshots reset");
}

void HudProbeTick() {
  bool visiblePressed[3];
  for (int i = 0; i < 3; ++i) visiblePressed[i] = PollPressed(hotKeys[i]);
  for (int i = 0; i < 3; ++i) {
    if (visiblePressed[i]) CaptureHudVisible(hotKeys[i].name);
  }
  if (PollPressed(hotKeys[3])) CaptureHudHidden();
  if (PollPressed(hotKeys[4])) ResetHudProbe();
}

}  // namespace artwheel
