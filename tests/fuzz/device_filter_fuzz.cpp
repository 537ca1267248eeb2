// The DirectInput filters on random data formats, device states and event
// batches, and the menu's centring of axes: nothing outside the caller's
// buffer is read or written, a batch only shrinks and keeps its order.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstring>
#include <vector>

#include "fuzz_check.h"
#include "input/device_filter.h"

namespace artwheel {
namespace {

// Offsets near the standard layout's hats and buttons, or anywhere.
uint32_t ObjectOffset(FuzzedDataProvider& input) {
  switch (input.ConsumeIntegralInRange<int>(0, 3)) {
    case 0:
      return kJoyStatePovs + 4 * input.ConsumeIntegralInRange<uint32_t>(0, 3);
    case 1:
      return kJoyStateButtons + input.ConsumeIntegralInRange<uint32_t>(0, 31);
    case 2:
      return input.ConsumeIntegralInRange<uint32_t>(0, 600);
    default:
      return input.ConsumeIntegral<uint32_t>();
  }
}

// The formats a game sets, as arrays of 24-byte DIOBJECTDATAFORMAT records of
// exactly their own length.
void RecordFormats(FuzzedDataProvider& input, DeviceFormatTable& table) {
  const int formats = input.ConsumeIntegralInRange<int>(0, 10);
  for (int f = 0; f < formats; ++f) {
    const uint32_t dataSize = input.ConsumeBool() ? input.ConsumeIntegralInRange<uint32_t>(0, 300)
                                                  : input.ConsumeIntegral<uint32_t>();
    const uint32_t objectCount = input.ConsumeIntegralInRange<uint32_t>(0, 60);
    std::vector<uint8_t> objects(static_cast<size_t>(objectCount) * kObjectFormatStride);
    for (uint32_t i = 0; i < objectCount; ++i) {
      uint8_t* object = objects.data() + static_cast<size_t>(i) * kObjectFormatStride;
      const uint32_t offset = ObjectOffset(input);
      const uint32_t type = input.ConsumeIntegral<uint32_t>();
      std::memcpy(object + 8, &offset, 4);
      std::memcpy(object + 12, &type, 4);
    }
    RecordDataFormat(table, dataSize, objectCount == 0 ? nullptr : objects.data(), objectCount);
  }
}

// One of the allowed held buttons, or none (combinations off).
HeldControl HeldOf(FuzzedDataProvider& input) {
  const int index = input.ConsumeIntegralInRange<int>(0, kHeldButtonCount);
  return index == kHeldButtonCount ? HeldControl{} : kHeldButtons[index].device;
}

void FilterOneState(FuzzedDataProvider& input, const DeviceFormatTable& table) {
  const uint32_t size = input.ConsumeIntegralInRange<uint32_t>(0, 320);
  const bool suppressing = input.ConsumeBool();
  fuzz::GuardedBuffer state(size);
  for (uint32_t i = 0; i < size; ++i) state.data()[i] = input.ConsumeIntegral<uint8_t>();
  FilterDeviceState(table, size == 0 ? nullptr : state.data(), size, suppressing, HeldOf(input));
  FUZZ_CHECK(state.GuardsIntact());
  // The menu's centring, with ranges as wide as an axis's can be.
  CentreAxes(
      table, size == 0 ? nullptr : state.data(), size,
      [](void* device, uint32_t, int32_t* low, int32_t* high) {
        auto& ranges = *static_cast<FuzzedDataProvider*>(device);
        *low = ranges.ConsumeIntegral<int32_t>();
        *high = ranges.ConsumeIntegral<int32_t>();
        return ranges.ConsumeBool();
      },
      &input);
  FUZZ_CHECK(state.GuardsIntact());
}

void FilterOneBatch(FuzzedDataProvider& input, const DeviceFormatTable& table) {
  const uint32_t recordSize =
      input.ConsumeBool() ? kEventRecordSize : input.ConsumeIntegralInRange<uint32_t>(0, 48);
  const uint32_t count = input.ConsumeIntegralInRange<uint32_t>(0, 24);
  const bool suppressing = input.ConsumeIntegralInRange<int>(0, 3) == 0;
  fuzz::GuardedBuffer batch(static_cast<size_t>(recordSize) * count);
  for (uint32_t r = 0; r < count; ++r) {
    uint8_t* record = batch.data() + static_cast<size_t>(r) * recordSize;
    for (uint32_t b = 0; b < recordSize; ++b) record[b] = input.ConsumeIntegral<uint8_t>();
    if (recordSize >= 8 && input.ConsumeBool()) {  // a hat-down or button event
      const uint32_t offset = ObjectOffset(input);
      const uint32_t value = input.ConsumeBool() ? 18000u : 0x80u;
      std::memcpy(record, &offset, 4);
      std::memcpy(record + 4, &value, 4);
    }
  }
  const std::vector<uint8_t> before(batch.data(), batch.data() + batch.size());
  uint32_t filtered = count;
  FilterDeviceEvents(table, batch.size() == 0 ? nullptr : batch.data(), recordSize, &filtered,
                     suppressing, HeldOf(input));
  FUZZ_CHECK(batch.GuardsIntact());
  FUZZ_CHECK(filtered <= count);
  if (suppressing) FUZZ_CHECK(filtered == 0);
  if (recordSize != kEventRecordSize) {
    FUZZ_CHECK(filtered == 0 || filtered == count);
    FUZZ_CHECK(std::vector<uint8_t>(batch.data(), batch.data() + batch.size()) == before);
    return;
  }
  // The kept records are the original ones, in their order.
  size_t from = 0;
  for (uint32_t k = 0; k < filtered; ++k) {
    const uint8_t* kept = batch.data() + static_cast<size_t>(k) * recordSize;
    while (from < count && std::memcmp(before.data() + from * recordSize, kept, recordSize) != 0) {
      ++from;
    }
    FUZZ_CHECK(from < count);
    ++from;
  }
}

}  // namespace
}  // namespace artwheel

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace artwheel;
  FuzzedDataProvider input(data, size);
  DeviceFormatTable table;
  RecordFormats(input, table);
  while (input.remaining_bytes() > 0) {
    if (input.ConsumeBool()) {
      FilterOneState(input, table);
    } else {
      FilterOneBatch(input, table);
    }
  }
  return 0;
}
