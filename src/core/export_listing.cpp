#include "core/export_listing.h"

#include <cstring>

#include "core/text_format.h"

namespace artwheel {

ExportListing::ExportListing() { std::memset(text_, 0, sizeof text_); }

bool ExportListing::Add(const char* name) {
  if (closed_) return false;
  const size_t before = std::strlen(text_);
  // A name that does not fit whole is left out rather than cut.
  if (!AppendText(text_, sizeof text_, empty_ ? "" : ", ") ||
      !AppendText(text_, sizeof text_, name)) {
    text_[before] = '\0';
    Close();
    return false;
  }
  empty_ = false;
  if (std::strlen(text_) >= kExportListingSoftLimit) {
    Close();
    return false;
  }
  return true;
}

void ExportListing::Close() {
  closed_ = true;
  AppendText(text_, sizeof text_, ", ...");
}

}  // namespace artwheel
