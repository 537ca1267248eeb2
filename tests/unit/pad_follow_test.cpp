#include "input/pad_follow.h"

#include <gtest/gtest.h>

#include <string>

namespace artwheel {
namespace {

constexpr uint64_t kTickMs = 16;

// The worker's tick as far as the choice goes: the filter's notes taken, the
// due indexes read against the pads connected now; the pads that answered.
struct Ticks {
  PadChoice choice = PadChoice::kAuto;
  GameReadNotes notes;
  PadWatches watches;
  uint64_t now = 5000;
  int ownReads[kPadCount] = {};

  PadSet Tick(PadSet connected, PadSet gameReads = 0) {
    for (int i = 0; i < kPadCount; ++i) {
      if (gameReads & connected & PadBit(i)) NoteGameReadOf(notes, static_cast<unsigned>(i));
    }
    TakeGameReadNotes(notes, watches, now);
    const PadSet read = PadsToRead(choice, watches, now);
    PadSet answered = 0;
    for (int i = 0; i < kPadCount; ++i) {
      if (!(read & PadBit(i))) continue;
      ++ownReads[i];
      NoteOwnRead(watches, i, (connected & PadBit(i)) != 0, now);
      if (connected & PadBit(i)) answered |= PadBit(i);
    }
    now += kTickMs;
    return answered;
  }
};

TEST(PadChoice, ANumberIsThatPadAloneInEveryTickAndAutoFiltersEveryPad) {
  const PadChoice players[] = {PadChoice::kPlayer1, PadChoice::kPlayer2, PadChoice::kPlayer3,
                               PadChoice::kPlayer4};
  for (int i = 0; i < kPadCount; ++i) {
    Ticks t;
    t.choice = players[i];
    EXPECT_EQ(FilteredPads(players[i]), PadBit(i));
    // Read in every tick, also while empty; the game's reads of others change nothing.
    for (int tick = 0; tick < 100; ++tick) t.Tick(PadBit((i + 1) % kPadCount), kAllPads);
    EXPECT_EQ(t.ownReads[i], 100);
    for (int other = 0; other < kPadCount; ++other) {
      if (other == i) continue;
      EXPECT_EQ(t.ownReads[other], 0) << other;
    }
  }
  EXPECT_EQ(FilteredPads(PadChoice::kAuto), kAllPads);
}

TEST(PadChoice, AutoFollowsThePadsTheGameReadWithinTheLastSecond) {
  Ticks t;
  const PadSet connected = PadBit(0) | PadBit(2);
  EXPECT_EQ(t.Tick(connected, PadBit(2)), PadBit(2));  // pad 0 is there but the game reads 2
  EXPECT_EQ(t.Tick(connected, connected), connected);
  // The game reads pad 2 alone from now on: pad 0 is followed for a second more.
  int ticksWithPad0 = 0;
  for (int tick = 0; tick < 100; ++tick) {
    if (t.Tick(connected, PadBit(2)) & PadBit(0)) ++ticksWithPad0;
  }
  EXPECT_EQ(ticksWithPad0, static_cast<int>((kGameReadFreshMs - 1) / kTickMs));
  EXPECT_EQ(t.ownReads[1], 0);  // the game reads pads: no index is probed
  EXPECT_EQ(t.ownReads[3], 0);
}

TEST(PadChoice, AutoWithoutGameReadsAsksEachEmptyIndexAtMostOnceASecond) {
  Ticks t;
  EXPECT_EQ(t.Tick(PadBit(1)), PadBit(1));  // the first tick asks every index
  uint64_t lastRead[kPadCount] = {t.now - kTickMs, t.now - kTickMs, t.now - kTickMs,
                                  t.now - kTickMs};
  for (int tick = 0; tick < 300; ++tick) {
    const int before[kPadCount] = {t.ownReads[0], t.ownReads[1], t.ownReads[2], t.ownReads[3]};
    const uint64_t at = t.now;
    ASSERT_EQ(t.Tick(PadBit(1)), PadBit(1)) << tick;
    for (int i : {0, 2, 3}) {
      if (t.ownReads[i] == before[i]) continue;
      EXPECT_GE(at - lastRead[i], kEmptyPadProbeMs) << i;
      lastRead[i] = at;
    }
  }
  EXPECT_EQ(t.ownReads[1], 301);  // the connected pad in every tick
  for (int i : {0, 2, 3}) EXPECT_EQ(t.ownReads[i], 1 + 300 * 16 / 1008) << i;
  // A pad plugged in at an empty index is followed within about a second.
  int ticks = 0;
  while (!(t.Tick(PadBit(1) | PadBit(3)) & PadBit(3))) ++ticks;
  EXPECT_LE(static_cast<uint64_t>(ticks) * kTickMs, kEmptyPadProbeMs);
}

TEST(PadChoice, APadMovingAwayIsDroppedAtOnceAndItsNewIndexTakenFromTheGamesReads) {
  Ticks t;
  for (int tick = 0; tick < 10; ++tick) ASSERT_EQ(t.Tick(PadBit(2), PadBit(2)), PadBit(2));
  // Undocked: the pad comes back at index 0; the game's last good read of 2 is fresh.
  EXPECT_EQ(t.Tick(PadBit(0), kAllPads), PadBit(0));
  const int reads2 = t.ownReads[2];
  for (int tick = 0; tick < 60; ++tick) EXPECT_EQ(t.Tick(PadBit(0), kAllPads), PadBit(0));
  EXPECT_EQ(t.ownReads[2], reads2);  // empty at the worker's read: not asked again
  // The game stops reading any pad (keyboard play): pad 0 is asked by the
  // worker in every tick, the empty index 2 once a second.
  for (int tick = 0; tick < 70; ++tick) EXPECT_EQ(t.Tick(PadBit(0)), PadBit(0));
  EXPECT_EQ(t.ownReads[2], reads2 + 1);
  // The pad goes back to 2 and the game reads it there: followed at once.
  EXPECT_EQ(t.Tick(PadBit(2), kAllPads), PadBit(2));
}

TEST(PadChoice, TheFiltersNoteIsSetOnceAndTakenOnce) {
  GameReadNotes notes;
  GameReadNotes other;
  PadWatches watches;
  NoteGameReadOf(notes, 3);
  NoteGameReadOf(notes, 3);
  TakeGameReadNotes(other, watches, 100);  // another record: nothing taken
  EXPECT_EQ(watches.pads[3].lastGameRead, 0u);
  TakeGameReadNotes(notes, watches, 100);
  EXPECT_EQ(watches.pads[3].lastGameRead, 100u);
  TakeGameReadNotes(notes, watches, 200);
  EXPECT_EQ(watches.pads[3].lastGameRead, 100u);
}

TEST(PadChoice, PlayersAreNamedByNumber) {
  char text[64];
  const std::pair<PadSet, std::string> cases[] = {{0, "no pad"},
                                                  {PadBit(1), "player 2"},
                                                  {PadBit(0) | PadBit(2), "players 1 and 3"},
                                                  {0x0B, "players 1, 2 and 4"},
                                                  {kAllPads, "players 1, 2, 3 and 4"}};
  for (const auto& [pads, words] : cases) {
    FormatPlayers(pads, text, sizeof text);
    EXPECT_EQ(text, words);
  }
}

}  // namespace
}  // namespace artwheel
