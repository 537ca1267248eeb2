#include "input/table_redirect.h"

namespace artwheel {

TableRedirect::Outcome TableRedirect::Redirect(void** slot, void* detour, PatchFn patch) {
  if (redirected()) return Outcome::kAlreadyRedirected;
  // Held for a save and one patch, once per process: spinning is cheaper than a
  // kernel object and needs no runtime support.
  while (busy_.test_and_set(std::memory_order_acquire)) {
  }
  Outcome outcome = Outcome::kAlreadyRedirected;
  if (!redirected_.load(std::memory_order_relaxed)) {
    void* const entry = *slot;
    if (entry == detour) {
      outcome = Outcome::kFailed;  // patched by someone else, original unknown
    } else {
      original_.store(entry, std::memory_order_release);
      if (patch(slot, detour)) {
        redirected_.store(true, std::memory_order_release);
        outcome = Outcome::kRedirected;
      } else {
        original_.store(nullptr, std::memory_order_release);
        outcome = Outcome::kFailed;
      }
    }
  }
  busy_.clear(std::memory_order_release);
  return outcome;
}

}  // namespace artwheel
