#include "input/device_filter.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

namespace artwheel {
namespace {

constexpr uint32_t kButton = 0x0C;
constexpr uint32_t kPov = 0x10;
constexpr uint32_t kAxis = 0x03;

struct Object {
  uint32_t offset;
  uint32_t type;
};

// DIOBJECTDATAFORMAT records as the x64 runtime lays them out.
std::vector<uint8_t> Objects(const std::vector<Object>& objects) {
  std::vector<uint8_t> bytes(objects.size() * kObjectFormatStride, 0xAB);
  for (size_t i = 0; i < objects.size(); ++i) {
    std::memcpy(&bytes[i * kObjectFormatStride + 8], &objects[i].offset, 4);
    const uint32_t type = objects[i].type | 0x00FFFF00;  // instance bits must not matter
    std::memcpy(&bytes[i * kObjectFormatStride + 12], &type, 4);
  }
  return bytes;
}

void Record(DeviceFormatTable& table, uint32_t size, const std::vector<Object>& objects) {
  const std::vector<uint8_t> bytes = Objects(objects);
  RecordDataFormat(table, size, bytes.data(), static_cast<uint32_t>(objects.size()));
}

std::vector<uint8_t> JoyState(uint32_t hat0, std::initializer_list<int> pressed,
                              uint32_t size = 80) {
  std::vector<uint8_t> state(size, 0);
  for (uint32_t i = 0; i < 4; ++i) {
    const uint32_t value = i == 0 ? hat0 : 27000 + i;
    std::memcpy(&state[0x20 + 4 * i], &value, 4);
  }
  for (int button : pressed) state[0x30 + button] = 0x80;
  state[0] = 0x11;  // an axis byte
  return state;
}

uint32_t Hat(const std::vector<uint8_t>& state, int i) {
  uint32_t value;
  std::memcpy(&value, &state[0x20 + 4 * i], 4);
  return value;
}

constexpr HeldControl kDown{HeldControl::kHat, 18000};

HeldControl DeviceControlOf(HeldButton held) { return kHeldButtons[static_cast<int>(held)].device; }

TEST(IsPovToward, Covers45DegreesEitherSideOfEachDirection) {
  struct Range {
    uint32_t centre, first, last;
  };
  for (const Range& r :
       {Range{18000, 13500, 22500}, Range{9000, 4500, 13500}, Range{27000, 22500, 31500}}) {
    EXPECT_TRUE(IsPovToward(r.first, r.centre) && IsPovToward(r.last, r.centre)) << r.centre;
    EXPECT_FALSE(IsPovToward(r.first - 1, r.centre) || IsPovToward(r.last + 1, r.centre));
  }
  // Up wraps round north.
  for (uint32_t value : {31500u, 35999u, 0u, 4500u}) EXPECT_TRUE(IsPovToward(value, 0)) << value;
  for (uint32_t value : {31499u, 4501u, 18000u, 36000u}) EXPECT_FALSE(IsPovToward(value, 0));
  for (uint32_t centre : {0u, 9000u, 18000u, 27000u}) {
    EXPECT_FALSE(IsPovToward(0xFFFFFFFF, centre));
    EXPECT_FALSE(IsPovToward(0xFFFF, centre));  // centred in the low word only
  }
}

// Every allowed held button: outside the window its control in the standard
// layout with button 0 is removed; each other control with button 0 passes.
TEST(FilterDeviceState, EachHeldButtonRemovesItsOwnControlWithAFaceButton) {
  DeviceFormatTable table;
  for (int i = 0; i < kHeldButtonCount; ++i) {
    const HeldControl held = kHeldButtons[i].device;
    for (int j = 0; j < kHeldButtonCount; ++j) {
      const HeldControl pressed = kHeldButtons[j].device;
      std::vector<uint8_t> state =
          JoyState(pressed.kind == HeldControl::kHat ? pressed.value : 0xFFFFFFFF, {0});
      if (pressed.kind == HeldControl::kButton) state[0x30 + pressed.value] = 0x80;
      const std::vector<uint8_t> before = state;
      FilterDeviceState(table, state.data(), 80, false, held);
      if (i != j) {
        EXPECT_EQ(state, before) << kHeldButtons[i].configName << " " << kHeldButtons[j].configName;
        continue;
      }
      EXPECT_EQ(state[0x30], 0) << kHeldButtons[i].configName;
      const bool heldCleared = held.kind == HeldControl::kHat ? Hat(state, 0) == 0xFFFFFFFFu
                                                              : state[0x30 + held.value] == 0;
      EXPECT_TRUE(heldCleared) << kHeldButtons[i].configName;
    }
  }
}

TEST(FilterDeviceState, WithCombinationsOffNothingIsRemovedOutsideTheWindow) {
  DeviceFormatTable table;
  std::vector<uint8_t> state = JoyState(18000, {0, 4});
  const std::vector<uint8_t> before = state;
  FilterDeviceState(table, state.data(), 80, false, HeldControl{});
  EXPECT_EQ(state, before);
}

TEST(FilterDeviceState, OutsideTheWindowOnlyHatDownWithAButtonIsRemoved) {
  DeviceFormatTable table;
  std::vector<uint8_t> state = JoyState(18000, {1, 7});
  FilterDeviceState(table, state.data(), 80, false, kDown);
  EXPECT_EQ(Hat(state, 0), 0xFFFFFFFFu);
  EXPECT_EQ(state[0x31], 0);
  EXPECT_EQ(state[0x37], 0x80);  // button 7 is not part of it
  EXPECT_EQ(Hat(state, 1), 27001u);
  EXPECT_EQ(state[0], 0x11);

  std::vector<uint8_t> right = JoyState(9000, {1});
  const std::vector<uint8_t> before = right;
  FilterDeviceState(table, right.data(), 80, false, kDown);
  EXPECT_EQ(right, before);
  std::vector<uint8_t> alone = JoyState(18000, {});
  const std::vector<uint8_t> aloneBefore = alone;
  FilterDeviceState(table, alone.data(), 80, false, kDown);
  EXPECT_EQ(alone, aloneBefore);
}

TEST(FilterDeviceState, InsideTheWindowTheFixedLayoutIsReleasedAndCentred) {
  DeviceFormatTable table;
  std::vector<uint8_t> state = JoyState(9000, {0, 5, 31});
  FilterDeviceState(table, state.data(), 80, true, kDown);
  for (int i = 0; i < 4; ++i) EXPECT_EQ(Hat(state, i), 0xFFFFFFFFu);
  for (int i = 0; i < 32; ++i) EXPECT_EQ(state[0x30 + i], 0);
  EXPECT_EQ(state[0], 0x11);
}

TEST(FilterDeviceState, InsideTheWindowARecordedFormatClearsItsOwnObjectsOnly) {
  DeviceFormatTable table;
  // A keyboard: 256 key bytes; the format names 40 of them as buttons.
  std::vector<Object> keys;
  for (uint32_t i = 0; i < 40; ++i) keys.push_back({i * 2, kButton});
  Record(table, 256, keys);
  std::vector<uint8_t> state(256, 0x80);
  FilterDeviceState(table, state.data(), 256, true, kDown);
  for (uint32_t i = 0; i < 256; ++i) {
    const bool recorded = i % 2 == 0 && i / 2 < 32;  // only the first 32 buttons are kept
    EXPECT_EQ(state[i], recorded ? 0 : 0x80) << i;
  }
}

TEST(FilterDeviceState, RecordedObjectsPastTheReadAreIgnored) {
  DeviceFormatTable table;
  Record(table, 20, {{15, kButton}, {20, kButton}, {16, kPov}, {17, kPov}, {4, kAxis}});
  std::vector<uint8_t> buffer(24, 0x80);
  FilterDeviceState(table, buffer.data(), 20, true, kDown);
  EXPECT_EQ(buffer[15], 0);
  EXPECT_EQ(buffer[16], 0xFF);                                         // the hat at 16 fits exactly
  for (uint32_t i = 20; i < 24; ++i) EXPECT_EQ(buffer[i], 0x80) << i;  // not ours
  EXPECT_EQ(buffer[4], 0x80);
}

TEST(RecordDataFormat, LaterFormatOfTheSameSizeReplacesAndANinthSizeIsNotRecorded) {
  DeviceFormatTable table;
  Record(table, 80, {{0x30, kButton}, {0x31, kButton}});
  Record(table, 80, {{0x40, kButton}});
  ASSERT_EQ(table.count, 1u);
  EXPECT_EQ(table.entries[0].buttonCount, 1u);
  EXPECT_EQ(table.entries[0].buttonOffsets[0], 0x40u);
  for (uint32_t size = 100; size < 107; ++size) Record(table, size, {{0, kButton}});
  EXPECT_EQ(table.count, 8u);
  Record(table, 200, {{0, kButton}});
  EXPECT_EQ(table.count, 8u);
  // A read of the unrecorded size falls back to the fixed layout.
  std::vector<uint8_t> state(200, 0x80);
  FilterDeviceState(table, state.data(), 200, true, kDown);
  EXPECT_EQ(state[0], 0x80);
  EXPECT_EQ(state[0x30], 0);
  EXPECT_EQ(Hat(state, 3), 0xFFFFFFFFu);
}

TEST(RecordDataFormat, KeepsAtMost32ButtonsAnd4Hats) {
  DeviceFormatTable table;
  std::vector<Object> objects;
  for (uint32_t i = 0; i < 40; ++i) objects.push_back({0x30 + i, kButton});
  for (uint32_t i = 0; i < 6; ++i) objects.push_back({0x100 + 4 * i, kPov});
  Record(table, 0x200, objects);
  EXPECT_EQ(table.entries[0].buttonCount, 32u);
  EXPECT_EQ(table.entries[0].buttonOffsets[31], 0x30u + 31);
  EXPECT_EQ(table.entries[0].povCount, 4u);
}

// While the menu holds the joystick: each recorded axis at the middle of the
// range its device reports; a relative axis (no range), an axis the read does
// not reach and every other object keep their values.
int theDevice;  // the device whose ranges are asked

TEST(CentreAxes, EachAxisGoesToTheMiddleOfItsOwnRange) {
  DeviceFormatTable table;
  Record(table, 80, {{0x00, kAxis}, {0x04, 0x02}, {0x08, 0x01}, {0x30, kButton}, {0x4E, kAxis}});
  std::vector<uint8_t> state(80, 0x80);
  const auto range = [](void* device, uint32_t offset, int32_t* low, int32_t* high) {
    EXPECT_EQ(device, &theDevice);
    if (offset == 0x08) return false;  // relative: no range
    *low = offset == 0x00 ? 0 : -1000;
    *high = offset == 0x00 ? 65535 : 3001;
    return true;
  };
  CentreAxes(table, state.data(), 80, range, &theDevice);
  const auto dword = [&state](size_t at) {
    int32_t value;
    std::memcpy(&value, &state[at], 4);
    return value;
  };
  EXPECT_EQ(dword(0x00), 32767);
  EXPECT_EQ(dword(0x04), 1000);
  EXPECT_EQ(dword(0x08), static_cast<int32_t>(0x80808080));
  EXPECT_EQ(state[0x30], 0x80);
  EXPECT_EQ(dword(0x4C), static_cast<int32_t>(0x80808080));  // 0x4E + 4 is past the read
  // A format set again without axes leaves the read alone.
  Record(table, 80, {{0x30, kButton}});
  state.assign(80, 0x80);
  CentreAxes(table, state.data(), 80, range, &theDevice);
  EXPECT_EQ(dword(0x00), static_cast<int32_t>(0x80808080));
}

struct Event {
  uint32_t offset;
  uint32_t data;
  uint32_t tag;
};

std::vector<uint8_t> Events(const std::vector<Event>& events) {
  std::vector<uint8_t> bytes(events.size() * kEventRecordSize, 0);
  for (size_t i = 0; i < events.size(); ++i) {
    std::memcpy(&bytes[i * 24], &events[i].offset, 4);
    std::memcpy(&bytes[i * 24 + 4], &events[i].data, 4);
    std::memcpy(&bytes[i * 24 + 8], &events[i].tag, 4);
  }
  return bytes;
}

std::vector<uint32_t> Tags(const std::vector<uint8_t>& bytes, uint32_t count) {
  std::vector<uint32_t> tags;
  for (uint32_t i = 0; i < count; ++i) {
    uint32_t tag;
    std::memcpy(&tag, &bytes[i * 24 + 8], 4);
    tags.push_back(tag);
  }
  return tags;
}

TEST(FilterDeviceEvents, HatDownAndButtonPressTogetherAreRemovedTheRestKeepsItsOrder) {
  DeviceFormatTable table;
  std::vector<uint8_t> batch = Events({{0x00, 500, 1},
                                       {0x20, 18000, 2},
                                       {0x34, 0x80, 3},
                                       {0x30, 0x80, 4},
                                       {0x31, 0x00, 5},
                                       {0x24, 18000, 6}});
  uint32_t count = 6;
  FilterDeviceEvents(table, batch.data(), 24, &count, false, kDown);
  EXPECT_EQ(Tags(batch, count), (std::vector<uint32_t>{1, 3, 5, 6}));
  // A button press without hat down is kept.
  batch = Events({{0x30, 0x80, 1}, {0x20, 9000, 2}});
  count = 2;
  FilterDeviceEvents(table, batch.data(), 24, &count, false, kDown);
  EXPECT_EQ(Tags(batch, count), (std::vector<uint32_t>{1, 2}));
}

TEST(FilterDeviceEvents, RecordedFormatsNameTheirOwnHatsAndButtons) {
  DeviceFormatTable table;
  Record(table, 64, {{8, kPov}, {40, kButton}});
  std::vector<uint8_t> batch = Events({{8, 18000, 1}, {41, 0x80, 2}, {40, 0x80, 3}});
  uint32_t count = 3;
  FilterDeviceEvents(table, batch.data(), 24, &count, false, kDown);
  EXPECT_EQ(Tags(batch, count), (std::vector<uint32_t>{2}));
}

TEST(FilterDeviceEvents, AHeldButtonPressWithAFaceButtonPressIsRemovedTogether) {
  DeviceFormatTable table;
  const HeldControl lb = DeviceControlOf(HeldButton::kLB);
  std::vector<uint8_t> batch =
      Events({{0x20, 18000, 1}, {0x34, 0x80, 2}, {0x31, 0x80, 3}, {0x34, 0x00, 4}});
  uint32_t count = 4;
  FilterDeviceEvents(table, batch.data(), 24, &count, false, lb);
  EXPECT_EQ(Tags(batch, count), (std::vector<uint32_t>{1, 4}));  // hat down is no part of it
  batch = Events({{0x34, 0x80, 1}, {0x20, 18000, 2}});           // LB alone
  count = 2;
  FilterDeviceEvents(table, batch.data(), 24, &count, false, lb);
  EXPECT_EQ(count, 2u);
  // A recorded format's fifth button stands for LB.
  Record(table, 64, {{40, kButton}, {41, kButton}, {42, kButton}, {43, kButton}, {50, kButton}});
  batch = Events({{50, 0x80, 1}, {40, 0x80, 2}, {44, 0x80, 3}});
  count = 3;
  FilterDeviceEvents(table, batch.data(), 24, &count, false, lb);
  EXPECT_EQ(Tags(batch, count), (std::vector<uint32_t>{3}));
  // Hat up with a button, up being the held direction; off removes nothing.
  batch = Events({{0x20, 33000, 1}, {0x30, 0x80, 2}});
  count = 2;
  FilterDeviceEvents(table, batch.data(), 24, &count, false, HeldControl{});
  EXPECT_EQ(count, 2u);
  FilterDeviceEvents(table, batch.data(), 24, &count, false, DeviceControlOf(HeldButton::kDpadUp));
  EXPECT_EQ(count, 0u);
}

TEST(FilterDeviceEvents, InsideTheWindowNothingIsDeliveredWhateverTheRecordSize) {
  DeviceFormatTable table;
  std::vector<uint8_t> batch = Events({{0x00, 1, 1}});
  uint32_t count = 1;
  FilterDeviceEvents(table, batch.data(), 16, &count, true, kDown);
  EXPECT_EQ(count, 0u);
  FilterDeviceEvents(table, nullptr, 24, nullptr, true, kDown);  // no count: nothing to do
}

TEST(FilterDeviceEvents, LegacyRecordSizeIsNeverWalked) {
  DeviceFormatTable table;
  // Two 16-byte records that a 24-byte stride would misread.
  std::vector<uint8_t> batch(32, 0);
  const uint32_t hat = 0x20, down = 18000, button = 0x30, pressed = 0x80;
  std::memcpy(&batch[0], &hat, 4);
  std::memcpy(&batch[4], &down, 4);
  std::memcpy(&batch[16], &button, 4);
  std::memcpy(&batch[20], &pressed, 4);
  const std::vector<uint8_t> before = batch;
  uint32_t count = 2;
  FilterDeviceEvents(table, batch.data(), 16, &count, false, kDown);
  EXPECT_EQ(count, 2u);
  EXPECT_EQ(batch, before);
}

}  // namespace
}  // namespace artwheel
