#include "slots/panel_schedule.h"

#include <gtest/gtest.h>

namespace artwheel {
namespace {

TEST(PanelSchedule, TheFirstPassWithConditionsHoldingPublishesAtOnce) {
  PanelTimers timers;
  EXPECT_EQ(NextPanelStep(timers, true, 1'000'000), PanelStep::kRefresh);
  EXPECT_EQ(NextPanelStep(timers, true, 1'000'016), PanelStep::kKeep);
  EXPECT_EQ(NextPanelStep(timers, true, 1'000'249), PanelStep::kKeep);
  EXPECT_EQ(NextPanelStep(timers, true, 1'000'250), PanelStep::kRefresh);
}

TEST(PanelSchedule, AFailedConditionHidesAndRestarts350msOfSettling) {
  PanelTimers timers;
  NextPanelStep(timers, true, 10'000);
  EXPECT_EQ(NextPanelStep(timers, false, 10'016), PanelStep::kHideAndRestart);  // menu opens
  EXPECT_EQ(NextPanelStep(timers, false, 12'000), PanelStep::kHideAndRestart);
  EXPECT_EQ(NextPanelStep(timers, true, 12'016), PanelStep::kHide);  // menu closed
  EXPECT_EQ(NextPanelStep(timers, true, 12'349), PanelStep::kHide);
  EXPECT_EQ(NextPanelStep(timers, true, 12'350), PanelStep::kRefresh);
  EXPECT_EQ(NextPanelStep(timers, false, 12'366), PanelStep::kHideAndRestart);  // one dialog tick
  EXPECT_EQ(NextPanelStep(timers, true, 12'382), PanelStep::kHide);
  EXPECT_EQ(NextPanelStep(timers, true, 12'716), PanelStep::kRefresh);
}

}  // namespace
}  // namespace artwheel
