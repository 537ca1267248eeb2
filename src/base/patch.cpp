#include "base/patch.h"

namespace artwheel {

PatchStatus RedirectEntry(void** entry, void* detour, TableKind kind, std::atomic<void*>* saved,
                          StoreFn store) {
  void* const current = *entry;
  if (current == detour) {
    const bool known = saved == nullptr || saved->load(std::memory_order_acquire) != nullptr;
    return known ? PatchStatus::kAlreadyRedirected : PatchStatus::kOriginalUnknown;
  }
  // Published before the store: a thread that calls through the new entry
  // finds the original already there.
  void* empty = nullptr;
  const bool savedNow =
      saved != nullptr && saved->compare_exchange_strong(empty, current, std::memory_order_acq_rel);
  if (store(entry, detour, kind)) return PatchStatus::kRedirected;
  if (savedNow) saved->store(nullptr, std::memory_order_release);
  return PatchStatus::kRefused;
}

PatchStatus RedirectOnce::Redirect(void** entry, void* detour, TableKind kind, StoreFn store) {
  if (redirected()) return PatchStatus::kAlreadyRedirected;
  // Held for a save and one store, once per process: spinning is cheaper than
  // a kernel object and needs no runtime support.
  while (busy_.test_and_set(std::memory_order_acquire)) {
  }
  PatchStatus status = PatchStatus::kAlreadyRedirected;
  if (!redirected_.load(std::memory_order_relaxed)) {
    // Published before the store, like the original, for callers that pick
    // the original by the table they were called through.
    entry_.store(entry, std::memory_order_release);
    status = RedirectEntry(entry, detour, kind, &original_, store);
    if (status == PatchStatus::kRedirected) {
      redirected_.store(true, std::memory_order_release);
    } else {
      entry_.store(nullptr, std::memory_order_release);
    }
  }
  busy_.clear(std::memory_order_release);
  return status;
}

}  // namespace artwheel
