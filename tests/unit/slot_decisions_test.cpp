// The equip, assign and panel decisions against a stand-in game: what the
// resolver answers, what each equip mode returns, and every call in order.
#include "slots/slot_decisions.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

#include "slots/combat_arts.h"
#include "slots/panel_schedule.h"

namespace artwheel {
namespace {

struct StandInGame {
  std::map<uint32_t, uint32_t> owned;  // art id -> the resolver's answer
  bool linked = true;                  // the player's data and its art lookup are there
  int resolvesUntilGone = -1;          // the save goes away after that many resolutions
  int equipResults[2] = {1, 1};        // what mode 0 and mode 1 return
  std::vector<std::string> calls;
};

StandInGame game;

bool StandInResolve(uint32_t artId, uint32_t* resolved) {
  if (!game.linked || game.resolvesUntilGone == 0) return false;
  if (game.resolvesUntilGone > 0) --game.resolvesUntilGone;
  game.calls.push_back("resolve " + std::to_string(artId));
  const auto found = game.owned.find(artId);
  *resolved = found != game.owned.end() ? found->second : 0;
  return true;
}

int StandInEquip(EquipRequest* request, int mode) {
  game.calls.push_back("equip mode=" + std::to_string(mode) +
                       " resolved=" + std::to_string(request->resolvedId));
  return game.equipResults[mode];
}

constexpr GameCalls kStandIn = {&StandInResolve, &StandInEquip};

class SlotDecisions : public ::testing::Test {
 protected:
  void SetUp() override { game = StandInGame{}; }
};

using Calls = std::vector<std::string>;

TEST_F(SlotDecisions, AnEmptySlotOrAnArtTheSaveDoesNotOwnIsSkippedAfterOneResolution) {
  EXPECT_EQ(EquipArt(kStandIn, 0, nullptr), EquipOutcome::kEmpty);
  EXPECT_TRUE(game.calls.empty());
  // 65536 and above count as not owned, like 0; so does a missing link.
  game.owned = {{5000, 11}, {7300, 65536}};
  EXPECT_EQ(EquipArt(kStandIn, 7300, nullptr), EquipOutcome::kNotOwned);
  EXPECT_EQ(EquipArt(kStandIn, 5100, nullptr), EquipOutcome::kNotOwned);
  EXPECT_EQ(game.calls, (Calls{"resolve 7300", "resolve 5100"}));
  game.linked = false;
  EXPECT_EQ(EquipArt(kStandIn, 5000, nullptr), EquipOutcome::kNotOwned);
  EXPECT_EQ(game.calls.size(), 2u);
}

TEST_F(SlotDecisions, EquippingAsksTheResolverThriceThenModeZeroAndModeOneOnlyAfterItFailed) {
  game.owned = {{7300, 73}, {5050, 55}};
  const uint32_t other = 11;
  EXPECT_EQ(EquipArt(kStandIn, 7300, &other), EquipOutcome::kEquipped);
  EXPECT_EQ(game.calls,
            (Calls{"resolve 7300", "resolve 7300", "resolve 7300", "equip mode=0 resolved=73"}));

  game.calls.clear();
  game.equipResults[0] = 0;
  EXPECT_EQ(EquipArt(kStandIn, 7300, nullptr), EquipOutcome::kEquipped);  // no save: not equipped
  EXPECT_EQ(Calls(game.calls.begin() + 3, game.calls.end()),
            (Calls{"equip mode=0 resolved=73", "equip mode=1 resolved=73"}));

  game.calls.clear();
  game.equipResults[1] = 0;
  EXPECT_EQ(EquipArt(kStandIn, 7300, &other), EquipOutcome::kFailed);
  EXPECT_EQ(game.calls.size(), 5u);

  // An id outside the known list is sent to the game all the same.
  game.equipResults[0] = 1;
  EXPECT_EQ(EquipArt(kStandIn, 5050, &other), EquipOutcome::kEquipped);
}

TEST_F(SlotDecisions, AnEquippedArtIsSkippedAndOneGoneBeforeTheRequestFails) {
  game.owned = {{7300, 73}};
  const uint32_t equipped = 73;
  EXPECT_EQ(EquipArt(kStandIn, 7300, &equipped), EquipOutcome::kAlreadyEquipped);
  EXPECT_EQ(game.calls, (Calls{"resolve 7300", "resolve 7300"}));

  game.calls.clear();
  game.resolvesUntilGone = 2;  // the save unloads between the test and the request
  EXPECT_EQ(EquipArt(kStandIn, 7300, nullptr), EquipOutcome::kNotResolved);
  EXPECT_EQ(game.calls, (Calls{"resolve 7300", "resolve 7300"}));
}

// The cursor's art is looked up among the known ids the save owns: every one
// of them is asked for, in order.
TEST_F(SlotDecisions, AnAssignmentTakesTheCursorsArtWhenTheSaveOwnsItAsAKnownId) {
  game.owned = {{5100, 51}, {7300, 73}, {5050, 55}};
  Assignment assignment = {};
  const uint32_t selected = 73;
  ASSERT_TRUE(FindAssignment(kStandIn, 2, &selected, &assignment));
  EXPECT_EQ(assignment.slot, 2);
  EXPECT_EQ(assignment.artId, 7300u);
  EXPECT_EQ(assignment.resolvedId, 73u);
  ASSERT_EQ(game.calls.size(), 50u);
  EXPECT_EQ(game.calls.front(), "resolve 5000");
  EXPECT_EQ(game.calls.back(), "resolve 9900");

  game.calls.clear();
  const uint32_t unknownId = 55;  // owned, but 5050 is not a known id
  EXPECT_FALSE(FindAssignment(kStandIn, 2, &unknownId, &assignment));
  const uint32_t none = 0;
  EXPECT_FALSE(FindAssignment(kStandIn, 2, &none, &assignment));
  EXPECT_FALSE(FindAssignment(kStandIn, 2, nullptr, &assignment));  // cursor unreadable
  EXPECT_EQ(game.calls.size(), 50u);
  EXPECT_EQ(assignment.artId, 0u);
}

TEST_F(SlotDecisions, ThePanelShowsInPlayOnlyWithTheEquippedKnownArt) {
  const MenuState inPlay = {.activeOrHud = 1, .loadingOrUi = 1, .postLoad = 1};
  EXPECT_TRUE(GameplayConditionsHold(inPlay));
  EXPECT_FALSE(InAssignmentMode(inPlay));
  uint32_t MenuState::*const words[] = {
      &MenuState::activeOrHud,   &MenuState::pauseMenu, &MenuState::dialog, &MenuState::loadingOrUi,
      &MenuState::modalOrDialog, &MenuState::postLoad,  &MenuState::npcMenu};
  for (uint32_t MenuState::*word : words) {
    MenuState changed = inPlay;
    changed.*word = changed.*word == 0 ? 1 : 0;
    EXPECT_FALSE(GameplayConditionsHold(changed));
  }
  MenuState menu = inPlay;
  menu.pauseMenu = 2;
  EXPECT_TRUE(InAssignmentMode(menu));

  game.owned = {{7300, 73}, {5050, 55}};
  EXPECT_EQ(PanelArtId(kStandIn, 73), 7300u);
  EXPECT_EQ(PanelArtId(kStandIn, 55), 0u);  // not a known id
  const size_t asked = game.calls.size();
  EXPECT_EQ(PanelArtId(kStandIn, 0), 0u);  // nothing equipped: nothing asked
  EXPECT_EQ(game.calls.size(), asked);
}

}  // namespace
}  // namespace artwheel
