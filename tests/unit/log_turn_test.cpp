#include "base/log_turn.h"

#include <gtest/gtest.h>

namespace artwheel {
namespace {

constexpr bool kGame = false;
constexpr bool kOurs = true;

TEST(KeepTryingForLog, AGameThreadWaitsForTheTurnHalfAMillisecondOurThreadsAsLongAsItTakes) {
  EXPECT_TRUE(KeepTryingForLog(kGame, LogObstacle::kTurnTaken, 0, 0.0));
  EXPECT_TRUE(KeepTryingForLog(kGame, LogObstacle::kTurnTaken, 0, 0.49));
  EXPECT_FALSE(KeepTryingForLog(kGame, LogObstacle::kTurnTaken, 0, 0.5));
  EXPECT_FALSE(KeepTryingForLog(kGame, LogObstacle::kTurnTaken, 0, 250.0));
  EXPECT_TRUE(KeepTryingForLog(kOurs, LogObstacle::kTurnTaken, 0, 0.0));
  EXPECT_TRUE(KeepTryingForLog(kOurs, LogObstacle::kTurnTaken, 0, 5000.0));
}

TEST(KeepTryingForLog, AHeldFileGetsAGameThreadThreeQuickTriesAndOurThreads20Ms) {
  EXPECT_TRUE(KeepTryingForLog(kGame, LogObstacle::kFileHeld, 1, 0.0));
  EXPECT_TRUE(KeepTryingForLog(kGame, LogObstacle::kFileHeld, 2, 0.4));
  EXPECT_FALSE(KeepTryingForLog(kGame, LogObstacle::kFileHeld, 3, 0.1));
  EXPECT_FALSE(KeepTryingForLog(kGame, LogObstacle::kFileHeld, 1, 0.5));
  EXPECT_TRUE(KeepTryingForLog(kOurs, LogObstacle::kFileHeld, 1, 0.0));
  EXPECT_TRUE(KeepTryingForLog(kOurs, LogObstacle::kFileHeld, 15, 19.9));
  EXPECT_FALSE(KeepTryingForLog(kOurs, LogObstacle::kFileHeld, 16, 20.0));
}

TEST(KeepTryingForLog, AFileThatCannotBeOpenedForAnyOtherReasonIsNotTriedAgain) {
  EXPECT_FALSE(KeepTryingForLog(kGame, LogObstacle::kFileFailed, 1, 0.0));
  EXPECT_FALSE(KeepTryingForLog(kOurs, LogObstacle::kFileFailed, 1, 0.0));
}

TEST(SkipHeldLogFile, AGameThreadLeavesAFileHeldAMomentAgoAloneFor100Ms) {
  EXPECT_FALSE(SkipHeldLogFile(0, 5000));  // opened since
  EXPECT_TRUE(SkipHeldLogFile(5001, 5001));
  EXPECT_TRUE(SkipHeldLogFile(5001, 5100));
  EXPECT_FALSE(SkipHeldLogFile(5001, 5101));
  EXPECT_FALSE(SkipHeldLogFile(5001, 5000));  // a clock read before the stamp
}

TEST(GiveWayForLog, OurThreadsLetTryingGameThreadsGoFirstForAsLongAsTheyMayTry) {
  EXPECT_FALSE(GiveWayForLog(0, 0.0));
  EXPECT_TRUE(GiveWayForLog(1, 0.0));
  EXPECT_TRUE(GiveWayForLog(2, 0.49));
  EXPECT_FALSE(GiveWayForLog(2, 0.5));
}

}  // namespace
}  // namespace artwheel
