#pragma once
// The one way this library changes another module's code pointers: an import
// address table entry or an interface's method table slot is redirected to a
// detour, and the entry it held is saved once, before the store, so that a
// call through the redirected entry always finds the function it replaces.
// Every hook of the library goes through here and reports a PatchStatus.
// This header and patch.cpp are platform-free; patch_store.cpp does the store.
#include <atomic>

namespace artwheel {

enum class PatchStatus {
  kRedirected,         // the entry now leads to the detour; its original is saved
  kAlreadyRedirected,  // it led there already, and its original is known (or not asked for)
  kOriginalUnknown,    // it leads to the detour, but nothing here saved what it replaced
  kRefused,            // the page could not be made writable: nothing changed
};

// Import tables are data: writable is enough. Method tables may sit in code
// sections, so they are made executable and writable.
enum class TableKind { kImport, kMethod };

// Stores `value` in `*entry` in one aligned store; false when it could not.
using StoreFn = bool (*)(void** entry, void* value, TableKind kind);

// The real store: VirtualProtect, one atomic store, the old protection back,
// FlushInstructionCache of the 8 bytes.
bool StoreCodePointer(void** entry, void* value, TableKind kind);

// Redirects *entry to `detour` unless it leads there already. With `saved`,
// an empty `saved` receives the entry before the store and is emptied again
// when the store is refused; a `saved` that holds an original keeps it.
PatchStatus RedirectEntry(void** entry, void* detour, TableKind kind,
                          std::atomic<void*>* saved = nullptr, StoreFn store = &StoreCodePointer);

inline bool InPlace(PatchStatus status) {
  return status == PatchStatus::kRedirected || status == PatchStatus::kAlreadyRedirected;
}

// One method-table entry redirected once per process, whichever thread gets
// there first. The saved original is always the entry of the table that was
// actually patched: two first calls with different tables (two providers) can
// never save one table's entry and patch the other's.
class RedirectOnce {
 public:
  // kAlreadyRedirected once any table was redirected; otherwise RedirectEntry
  // under a spin lock, with the original kept here.
  PatchStatus Redirect(void** entry, void* detour, TableKind kind,
                       StoreFn store = &StoreCodePointer);

  // The redirected table's original entry; null before a redirect succeeded.
  void* original() const { return original_.load(std::memory_order_acquire); }
  // The entry that was redirected (published with its original); null before.
  void** entry() const { return entry_.load(std::memory_order_acquire); }
  bool redirected() const { return redirected_.load(std::memory_order_acquire); }

 private:
  std::atomic_flag busy_ = ATOMIC_FLAG_INIT;
  std::atomic<bool> redirected_{false};
  std::atomic<void*> original_{nullptr};
  std::atomic<void**> entry_{nullptr};
};

}  // namespace artwheel
