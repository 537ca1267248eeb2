#pragma once
// One method-table entry redirected once per process, whichever thread gets
// there first. The saved original is always the entry of the table that was
// actually patched: two first calls with different tables (two providers)
// can never save one table's entry and patch the other's. Platform-free: the
// patch itself is passed in.
#include <atomic>

namespace artwheel {

class TableRedirect {
 public:
  using PatchFn = bool (*)(void** slot, void* value);
  enum class Outcome { kRedirected, kAlreadyRedirected, kFailed };

  // Saves *slot and patches it to `detour` unless a table was redirected
  // already; the original is published before the patch, so that a call
  // through the patched slot always finds it, and withdrawn if the patch fails.
  Outcome Redirect(void** slot, void* detour, PatchFn patch);

  // The redirected table's original entry; null before a redirect succeeded.
  void* original() const { return original_.load(std::memory_order_acquire); }
  bool redirected() const { return redirected_.load(std::memory_order_acquire); }

 private:
  std::atomic_flag busy_ = ATOMIC_FLAG_INIT;
  std::atomic<bool> redirected_{false};
  std::atomic<void*> original_{nullptr};
};

}  // namespace artwheel
