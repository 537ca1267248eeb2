#include "input/device_filter.h"

#include <cstring>

namespace artwheel {

DeviceFormatTable deviceFormats;
KeyboardDevices keyboardDevices;

namespace {

constexpr uint8_t kButtonType = 0x0C;
constexpr uint8_t kPovType = 0x10;
constexpr uint8_t kAxisTypes = 0x03;  // relative, absolute, or either
constexpr uint8_t kPressed = 0x80;
constexpr uint32_t kFixedPovCount = 4;
constexpr uint32_t kFixedButtonCount = 32;
constexpr uint32_t kComboButtonCount = 4;  // buttons 0 to 3 go with hat 0

uint32_t Load32(const uint8_t* at) {
  uint32_t value = 0;
  std::memcpy(&value, at, sizeof value);
  return value;
}

void Store32(uint8_t* at, uint32_t value) { std::memcpy(at, &value, sizeof value); }

const DeviceFormat* FindFormat(const DeviceFormatTable& table, uint32_t dataSize) {
  const uint32_t count = table.count.load(std::memory_order_acquire);
  for (uint32_t i = 0; i < count && i < kMaxDeviceFormats; ++i) {
    if (table.entries[i].dataSize.load(std::memory_order_acquire) == dataSize) {
      return &table.entries[i];
    }
  }
  return nullptr;
}

DeviceFormat* FindOrAddFormat(DeviceFormatTable& table, uint32_t dataSize) {
  if (DeviceFormat* found = const_cast<DeviceFormat*>(FindFormat(table, dataSize))) return found;
  // Reserve the slot first: until its size is stored it matches no read.
  uint32_t count = table.count.load(std::memory_order_acquire);
  do {
    if (count >= kMaxDeviceFormats) return nullptr;
  } while (!table.count.compare_exchange_weak(count, count + 1, std::memory_order_acq_rel));
  DeviceFormat& entry = table.entries[count];
  entry.dataSize.store(dataSize, std::memory_order_release);
  return &entry;
}

void Append(std::atomic<uint32_t>* offsets, std::atomic<uint32_t>& count, uint32_t capacity,
            uint32_t offset) {
  const uint32_t n = count.load(std::memory_order_relaxed);
  if (n >= capacity) return;
  offsets[n].store(offset, std::memory_order_relaxed);
  count.store(n + 1, std::memory_order_release);
}

bool IsRecorded(const std::atomic<uint32_t>* offsets, const std::atomic<uint32_t>& count,
                uint32_t capacity, uint32_t offset) {
  const uint32_t n = count.load(std::memory_order_acquire);
  for (uint32_t i = 0; i < n && i < capacity; ++i) {
    if (offsets[i].load(std::memory_order_relaxed) == offset) return true;
  }
  return false;
}

// The event classes look at every recorded format, whatever device the event is from.
bool IsHatTowardEvent(const DeviceFormatTable& table, uint32_t offset, uint32_t data,
                      uint32_t centre) {
  if (!IsPovToward(data, centre)) return false;
  if (offset == kJoyStatePovs) return true;
  const uint32_t count = table.count.load(std::memory_order_acquire);
  for (uint32_t i = 0; i < count && i < kMaxDeviceFormats; ++i) {
    const DeviceFormat& entry = table.entries[i];
    if (IsRecorded(entry.povOffsets, entry.povCount, kMaxFormatPovs, offset)) return true;
  }
  return false;
}

bool IsButtonPressEvent(const DeviceFormatTable& table, uint32_t offset, uint32_t data) {
  if ((data & kPressed) == 0) return false;
  if (offset >= kJoyStateButtons && offset < kJoyStateButtons + kComboButtonCount) return true;
  const uint32_t count = table.count.load(std::memory_order_acquire);
  for (uint32_t i = 0; i < count && i < kMaxDeviceFormats; ++i) {
    const DeviceFormat& entry = table.entries[i];
    if (IsRecorded(entry.buttonOffsets, entry.buttonCount, kMaxFormatButtons, offset)) return true;
  }
  return false;
}

// A press of button `index`: at its place in the fixed layout, or as the
// index-th button of a recorded format.
bool IsNumberedButtonPressEvent(const DeviceFormatTable& table, uint32_t offset, uint32_t data,
                                uint32_t index) {
  if ((data & kPressed) == 0) return false;
  if (offset == kJoyStateButtons + index) return true;
  const uint32_t count = table.count.load(std::memory_order_acquire);
  for (uint32_t i = 0; i < count && i < kMaxDeviceFormats; ++i) {
    const DeviceFormat& entry = table.entries[i];
    if (index < entry.buttonCount.load(std::memory_order_acquire) && index < kMaxFormatButtons &&
        entry.buttonOffsets[index].load(std::memory_order_relaxed) == offset) {
      return true;
    }
  }
  return false;
}

bool IsHeldEvent(const DeviceFormatTable& table, uint32_t offset, uint32_t data, HeldControl held) {
  if (held.kind == HeldControl::kHat) return IsHatTowardEvent(table, offset, data, held.value);
  return held.kind == HeldControl::kButton &&
         IsNumberedButtonPressEvent(table, offset, data, held.value);
}

// A press of one of buttons 0 to 3, or of the settings menu's open button.
bool IsPartnerPressEvent(const DeviceFormatTable& table, uint32_t offset, uint32_t data,
                         HeldControl held) {
  return IsButtonPressEvent(table, offset, data) ||
         (held.partner < kFixedButtonCount &&
          IsNumberedButtonPressEvent(table, offset, data, held.partner));
}

// Outside the window only the held control with one of buttons 0 to 3 of the
// standard layout is removed.
void RemoveJoyStateCombination(uint8_t* data, uint32_t size, HeldControl held) {
  if (size < kJoyStateSize || held.kind == HeldControl::kNone) return;
  const bool hat = held.kind == HeldControl::kHat;
  const bool heldDown =
      hat ? IsPovToward(Load32(data + kJoyStatePovs), held.value)
          : held.value < kFixedButtonCount && (data[kJoyStateButtons + held.value] & kPressed) != 0;
  if (!heldDown) return;
  bool pressed = false;
  for (uint32_t i = 0; i < kComboButtonCount; ++i)
    pressed |= (data[kJoyStateButtons + i] & kPressed) != 0;
  const bool partner = held.partner < kFixedButtonCount;
  pressed |= partner && (data[kJoyStateButtons + held.partner] & kPressed) != 0;
  if (!pressed) return;
  if (hat) {
    Store32(data + kJoyStatePovs, kPovCentred);
  } else {
    data[kJoyStateButtons + held.value] = 0;
  }
  std::memset(data + kJoyStateButtons, 0, kComboButtonCount);
  if (partner) data[kJoyStateButtons + held.partner] = 0;
}

void ReleaseEverything(const DeviceFormat* format, uint8_t* data, uint32_t size) {
  const uint32_t buttons =
      format != nullptr ? format->buttonCount.load(std::memory_order_acquire) : 0;
  const uint32_t povs = format != nullptr ? format->povCount.load(std::memory_order_acquire) : 0;
  if (buttons == 0 && povs == 0) {
    if (size < kJoyStateSize) return;
    for (uint32_t i = 0; i < kFixedPovCount; ++i)
      Store32(data + kJoyStatePovs + 4 * i, kPovCentred);
    std::memset(data + kJoyStateButtons, 0, kFixedButtonCount);
    return;
  }
  for (uint32_t i = 0; i < buttons && i < kMaxFormatButtons; ++i) {
    const uint32_t offset = format->buttonOffsets[i].load(std::memory_order_relaxed);
    if (offset < size) data[offset] = 0;
  }
  for (uint32_t i = 0; i < povs && i < kMaxFormatPovs; ++i) {
    const uint32_t offset = format->povOffsets[i].load(std::memory_order_relaxed);
    if (offset <= size && size - offset >= 4) Store32(data + offset, kPovCentred);
  }
}

}  // namespace

bool IsPovToward(uint32_t value, uint32_t centre) {
  constexpr uint32_t kFullCircle = 36000;
  constexpr uint32_t kEitherSide = 4500;
  if (value >= kFullCircle) return false;  // centred, or no angle at all
  const uint32_t apart = value > centre ? value - centre : centre - value;
  return apart <= kEitherSide || kFullCircle - apart <= kEitherSide;
}

void RecordDataFormat(DeviceFormatTable& table, uint32_t dataSize, const uint8_t* objects,
                      uint32_t objectCount) {
  if (objects == nullptr) return;
  DeviceFormat* entry = FindOrAddFormat(table, dataSize);
  if (entry == nullptr) return;
  entry->buttonCount.store(0, std::memory_order_release);
  entry->povCount.store(0, std::memory_order_release);
  entry->axisCount.store(0, std::memory_order_release);
  for (uint32_t i = 0; i < objectCount; ++i) {
    const uint8_t* object = objects + static_cast<size_t>(i) * kObjectFormatStride;
    const uint32_t offset = Load32(object + 8);
    const uint8_t type = static_cast<uint8_t>(Load32(object + 12) & 0xFF);
    if (type == kButtonType) {
      Append(entry->buttonOffsets, entry->buttonCount, kMaxFormatButtons, offset);
    } else if (type == kPovType) {
      Append(entry->povOffsets, entry->povCount, kMaxFormatPovs, offset);
    } else if ((type & kAxisTypes) != 0 && (type & ~kAxisTypes) == 0) {
      Append(entry->axisOffsets, entry->axisCount, kMaxFormatAxes, offset);
    }
  }
}

void CentreAxes(const DeviceFormatTable& table, uint8_t* data, uint32_t size, AxisRangeOf rangeOf,
                void* device) {
  if (data == nullptr || rangeOf == nullptr) return;
  const DeviceFormat* format = FindFormat(table, size);
  if (format == nullptr) return;
  const uint32_t axes = format->axisCount.load(std::memory_order_acquire);
  for (uint32_t i = 0; i < axes && i < kMaxFormatAxes; ++i) {
    const uint32_t offset = format->axisOffsets[i].load(std::memory_order_relaxed);
    int32_t low = 0;
    int32_t high = 0;
    if (offset > size || size - offset < 4 || !rangeOf(device, offset, &low, &high)) continue;
    const int64_t middle = (static_cast<int64_t>(low) + high) / 2;
    Store32(data + offset, static_cast<uint32_t>(static_cast<int32_t>(middle)));
  }
}

void FilterDeviceState(const DeviceFormatTable& table, uint8_t* data, uint32_t size,
                       bool suppressing, HeldControl held) {
  if (data == nullptr || size == 0) return;
  if (!suppressing) {
    RemoveJoyStateCombination(data, size, held);
    return;
  }
  ReleaseEverything(FindFormat(table, size), data, size);
}

void FilterDeviceEvents(const DeviceFormatTable& table, uint8_t* records, uint32_t recordSize,
                        uint32_t* count, bool suppressing, HeldControl held) {
  if (count == nullptr) return;
  if (suppressing) {
    *count = 0;
    return;
  }
  if (records == nullptr || *count == 0 || recordSize != kEventRecordSize) return;
  if (held.kind == HeldControl::kNone) return;
  bool heldDown = false;
  bool buttonPress = false;
  for (uint32_t i = 0; i < *count; ++i) {
    const uint8_t* record = records + static_cast<size_t>(i) * kEventRecordSize;
    const bool heldEvent = IsHeldEvent(table, Load32(record), Load32(record + 4), held);
    heldDown |= heldEvent;
    buttonPress |=
        !heldEvent && IsPartnerPressEvent(table, Load32(record), Load32(record + 4), held);
  }
  if (!heldDown || !buttonPress) return;
  uint32_t kept = 0;
  for (uint32_t i = 0; i < *count; ++i) {
    uint8_t* record = records + static_cast<size_t>(i) * kEventRecordSize;
    const uint32_t offset = Load32(record);
    const uint32_t value = Load32(record + 4);
    if (IsHeldEvent(table, offset, value, held) ||
        IsPartnerPressEvent(table, offset, value, held)) {
      continue;
    }
    if (kept != i)
      std::memcpy(records + static_cast<size_t>(kept) * kEventRecordSize, record, kEventRecordSize);
    ++kept;
  }
  *count = kept;
}

namespace {

bool IsButtonObject(const DeviceFormatTable& table, uint32_t offset) {
  if (offset >= kJoyStateButtons && offset < kJoyStateButtons + kFixedButtonCount) return true;
  const uint32_t count = table.count.load(std::memory_order_acquire);
  for (uint32_t i = 0; i < count && i < kMaxDeviceFormats; ++i) {
    const DeviceFormat& entry = table.entries[i];
    if (IsRecorded(entry.buttonOffsets, entry.buttonCount, kMaxFormatButtons, offset)) return true;
  }
  return false;
}

bool IsPovObject(const DeviceFormatTable& table, uint32_t offset) {
  if (offset >= kJoyStatePovs && offset < kJoyStateButtons && offset % 4 == 0) return true;
  const uint32_t count = table.count.load(std::memory_order_acquire);
  for (uint32_t i = 0; i < count && i < kMaxDeviceFormats; ++i) {
    const DeviceFormat& entry = table.entries[i];
    if (IsRecorded(entry.povOffsets, entry.povCount, kMaxFormatPovs, offset)) return true;
  }
  return false;
}

bool IsReleaseEvent(const DeviceFormatTable& table, uint32_t offset, uint32_t data) {
  if (IsButtonObject(table, offset)) return (data & kPressed) == 0;
  // A centred hat reads 0xFFFFFFFF, or 0xFFFF in its low word on some drivers.
  return IsPovObject(table, offset) && (data & 0xFFFF) == 0xFFFF;
}

}  // namespace

void FilterHeldJoystickEvents(const DeviceFormatTable& table, uint8_t* records, uint32_t recordSize,
                              uint32_t* count) {
  if (count == nullptr) return;
  if (records == nullptr || recordSize != kEventRecordSize) {
    *count = 0;
    return;
  }
  uint32_t kept = 0;
  for (uint32_t i = 0; i < *count; ++i) {
    uint8_t* record = records + static_cast<size_t>(i) * kEventRecordSize;
    if (!IsReleaseEvent(table, Load32(record), Load32(record + 4))) continue;
    if (kept != i)
      std::memcpy(records + static_cast<size_t>(kept) * kEventRecordSize, record, kEventRecordSize);
    ++kept;
  }
  *count = kept;
}

void NoteDeviceFormat(KeyboardDevices& keyboards, const void* device, uint32_t dataSize) {
  if (device == nullptr) return;
  const bool keyboard = dataSize == kKeyboardStateSize;
  for (auto& slot : keyboards.devices) {
    if (slot.load(std::memory_order_acquire) != device) continue;
    if (!keyboard) slot.store(nullptr, std::memory_order_release);
    return;
  }
  if (!keyboard) return;
  for (auto& slot : keyboards.devices) {
    const void* empty = nullptr;
    if (slot.compare_exchange_strong(empty, device, std::memory_order_acq_rel)) return;
  }
}

bool IsKeyboardDevice(const KeyboardDevices& keyboards, const void* device) {
  for (const auto& slot : keyboards.devices) {
    if (slot.load(std::memory_order_acquire) == device) return true;
  }
  return false;
}

}  // namespace artwheel
