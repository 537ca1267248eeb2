#pragma once
// The text that lists a chained library's export names in the log: names
// joined by ", ", closed with ", ..." once it reaches 448 bytes. Platform-free.
#include <cstddef>

namespace artwheel {

inline constexpr size_t kExportListingSize = 512;
inline constexpr size_t kExportListingSoftLimit = 448;

class ExportListing {
 public:
  // Adds one name; false once the listing is closed and takes no more.
  bool Add(const char* name);
  const char* text() const { return text_; }

 private:
  void Close();
  char text_[kExportListingSize] = {};
  bool closed_ = false;
  bool empty_ = true;
};

}  // namespace artwheel
