#include "base/log.h"
#include "base/patch.h"

namespace artwheel {

void ReportRedirect(const Hook& hook, PatchStatus status) {
  char line[256];
  if (FormatRedirectLine(hook, status, line, sizeof line)) WriteLogLine(line);
}

}  // namespace artwheel
