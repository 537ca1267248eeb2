#include "overlay/image_retry.h"

#include <cstring>

namespace artwheel {

ImageRetry DecideImageRetry(const ImageFailure& failure, const char* path, uint64_t now) {
  if (std::strcmp(failure.path, path) != 0) return ImageRetry::kLoad;
  if (now - failure.checkedAt < kFailedImageCheckMs) return ImageRetry::kWait;
  return failure.inUse ? ImageRetry::kLoadAgain : ImageRetry::kLookAtFile;
}

void NoteImageFailure(ImageFailure& failure, const char* path, const FileStamp& seen, bool inUse,
                      uint64_t now) {
  const bool sameRun = inUse && failure.inUse && std::strcmp(failure.path, path) == 0;
  if (!sameRun) {
    failure.inUseSince = now;
    failure.inUseReported = false;
  }
  std::strncpy(failure.path, path, sizeof failure.path - 1);
  failure.path[sizeof failure.path - 1] = '\0';
  failure.stamp = seen;
  failure.checkedAt = now;
  failure.inUse = inUse;
}

bool TakeImageInUseReport(ImageFailure& failure, uint64_t now) {
  if (!failure.inUse || failure.inUseReported || now - failure.inUseSince < kImageInUseReportMs) {
    return false;
  }
  failure.inUseReported = true;
  return true;
}

}  // namespace artwheel
