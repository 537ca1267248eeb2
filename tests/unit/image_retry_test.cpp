#include "overlay/image_retry.h"

#include <gtest/gtest.h>

namespace artwheel {
namespace {

constexpr char kBackground[] = "C:\\game\\resources\\bg.png";
constexpr FileStamp kStamp{true, 1234, 99};

TEST(ImageRetry, AFileHeldByAnotherProgramIsTriedEverySecondAndReportedOnceAfterTenSeconds) {
  ImageFailure failure;
  EXPECT_EQ(DecideImageRetry(failure, kBackground, 5000), ImageRetry::kLoad);
  uint64_t now = 5000;
  NoteImageFailure(failure, kBackground, kStamp, true, now);
  EXPECT_EQ(DecideImageRetry(failure, kBackground, now + 999), ImageRetry::kWait);
  int reports = 0;
  uint64_t reportedAt = 0;
  while (now < 5000 + 12000) {
    now += 1000;
    ASSERT_EQ(DecideImageRetry(failure, kBackground, now), ImageRetry::kLoadAgain);
    NoteImageFailure(failure, kBackground, kStamp, true, now);  // unchanged file, still held
    if (TakeImageInUseReport(failure, now)) {
      ++reports;
      reportedAt = now;
    }
  }
  EXPECT_EQ(reports, 1);
  EXPECT_EQ(reportedAt, 5000u + kImageInUseReportMs);
}

TEST(ImageRetry, ABrokenFileWaitsForItsStampAndAnotherPathOrHolderStartsAnew) {
  ImageFailure failure;
  NoteImageFailure(failure, kBackground, kStamp, false, 1000);
  EXPECT_EQ(DecideImageRetry(failure, kBackground, 2000), ImageRetry::kLookAtFile);
  EXPECT_EQ(DecideImageRetry(failure, "C:\\game\\resources\\7300.png", 1001), ImageRetry::kLoad);
  EXPECT_FALSE(TakeImageInUseReport(failure, 60000));  // broken, not held: never reported
  // Held only after a broken read: the ten seconds count from the first hold.
  NoteImageFailure(failure, kBackground, kStamp, true, 30000);
  EXPECT_FALSE(TakeImageInUseReport(failure, 39999));
  EXPECT_TRUE(TakeImageInUseReport(failure, 40000));
  // A break in the holding (a broken read between) starts a new run with its own report.
  NoteImageFailure(failure, kBackground, kStamp, false, 41000);
  NoteImageFailure(failure, kBackground, kStamp, true, 42000);
  EXPECT_FALSE(TakeImageInUseReport(failure, 51999));
  EXPECT_TRUE(TakeImageInUseReport(failure, 52000));
}

}  // namespace
}  // namespace artwheel
