#include "app/export_listing.h"

#include <cstring>

#include "base/text_format.h"

namespace artwheel {
namespace {

// The closing mark always fits: a name is taken only when it leaves room for it.
constexpr char kClosingMark[] = ", ...";
constexpr size_t kNameRoom = kExportListingSize - (sizeof kClosingMark - 1);

}  // namespace

bool ExportListing::Add(const char* name) {
  if (closed_) return false;
  const size_t before = std::strlen(text_);
  // A name that does not fit whole is left out rather than cut.
  if (!AppendText(text_, kNameRoom, empty_ ? "" : ", ") || !AppendText(text_, kNameRoom, name)) {
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
  AppendText(text_, sizeof text_, kClosingMark);
}

}  // namespace artwheel
