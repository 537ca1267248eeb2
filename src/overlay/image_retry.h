#pragma once
// When an image that failed to load is tried again. Platform-free.
#include <cstdint>

#include "base/utf8_text.h"

namespace artwheel {

inline constexpr uint64_t kFailedImageCheckMs = 1000;
inline constexpr uint64_t kImageInUseReportMs = 10000;

// What a file looked like: whether it could be looked at, its size and write time.
struct FileStamp {
  bool exists = false;
  uint64_t size = 0;
  uint64_t writeTime = 0;
};

// What a failed image load saw of its file.
struct ImageFailure {
  char path[kUtf8PathSize] = {};
  FileStamp stamp;
  uint64_t checkedAt = 0;
  // Another program held the file (a sharing or lock violation), since
  // inUseSince without a break; reported once it lasted too long.
  bool inUse = false;
  uint64_t inUseSince = 0;
  bool inUseReported = false;
};

enum class ImageRetry {
  kLoad,        // the path did not fail before: load it
  kWait,        // failed less than a second ago
  kLoadAgain,   // a second passed and another program held the file: try again
  kLookAtFile,  // a second passed: load again only if the file's stamp changed
};

ImageRetry DecideImageRetry(const ImageFailure& failure, const char* path, uint64_t now);

// Remembers a failed load of the path; the run of in-use failures goes on
// while the same path keeps failing that way.
void NoteImageFailure(ImageFailure& failure, const char* path, const FileStamp& seen, bool inUse,
                      uint64_t now);

// True once per run of in-use failures, when it has lasted kImageInUseReportMs.
bool TakeImageInUseReport(ImageFailure& failure, uint64_t now);

}  // namespace artwheel
