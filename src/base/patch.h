#pragma once
// The one way this library changes another module's code pointers. Each
// redirection is declared once as a Hook: its name, what it patches (import
// address table entries, or one slot of interface method tables), its detour
// and the log lines it keeps. The hook saves every original before the store,
// so that a call through a redirected entry always finds the function it
// replaces, and its detour asks the hook for that original and nothing else.
// Every install reports a PatchStatus, and ReportRedirect turns it into the
// hook's line. README.md ("Where things are") lists every hook and what
// installs it.
// This header and patch.cpp are platform-free; patch_store.cpp does the store
// and patch_report.cpp the log line.
#include <atomic>
#include <cstddef>

namespace artwheel {

enum class PatchStatus {
  kRedirected,         // the entry now leads to the detour; its original is saved
  kAlreadyRedirected,  // it led there already, and its original is known
  kOriginalUnknown,    // it leads (or would lead) to the detour with no original to call: a failure
  kRefused,            // nothing changed: the page could not be made writable, or no room is left
};

// Import tables are data: writable is enough. Method tables may sit in code
// sections, so they are made executable and writable.
enum class TableKind { kImport, kMethod };

// Stores `value` in `*entry` in one aligned store; false when it could not.
using StoreFn = bool (*)(void** entry, void* value, TableKind kind);

// The real store: VirtualProtect, one atomic store, the old protection back,
// FlushInstructionCache of the 8 bytes.
bool StoreCodePointer(void** entry, void* value, TableKind kind);

// The step under every Hook (and a test's own redirection): redirects *entry
// to `detour` unless it leads there already. With `saved`, an empty `saved`
// receives the entry before the store and is emptied again when the store is
// refused; a `saved` that holds an original keeps it.
PatchStatus RedirectEntry(void** entry, void* detour, TableKind kind,
                          std::atomic<void*>* saved = nullptr, StoreFn store = &StoreCodePointer);

inline bool InPlace(PatchStatus status) {
  return status == PatchStatus::kRedirected || status == PatchStatus::kAlreadyRedirected;
}

// The registry's one wording of a status: "redirected", "already redirected",
// "original unknown", "failed".
const char* PatchStatusText(PatchStatus status);

// The lines a hook writes for an install. Null: the registry's own line,
// "[Hook] <name> <status text>"; empty: none, its installer sums up instead.
// Hooks older than the registry keep their lines here, word for word.
struct HookLines {
  const char* redirected = nullptr;  // kRedirected
  const char* failed = nullptr;      // kRefused or kOriginalUnknown
};

// Method tables a hook keeps an original for.
inline constexpr int kMaxHookTables = 8;

class Hook {
 public:
  // `slot` is the method-table slot (ignored for imports). A hook of one table
  // (or of imports) has one original; with `tables` above 1 each redirected
  // table keeps its own, and the detour names the object it was called for.
  template <typename Detour>
  Hook(const char* hookName, TableKind tableKind, int tableSlot, Detour* detourFunction,
       int tables = 1, HookLines hookLines = {})
      : name_(hookName),
        kind_(tableKind),
        slot_(tableSlot),
        tables_(tables < 1 ? 1 : (tables > kMaxHookTables ? kMaxHookTables : tables)),
        detour_(reinterpret_cast<void*>(detourFunction)),
        lines_(hookLines) {}
  Hook(const Hook&) = delete;
  Hook& operator=(const Hook&) = delete;

  const char* name() const { return name_; }
  TableKind kind() const { return kind_; }
  int slot() const { return slot_; }
  void* detour() const { return detour_; }
  const HookLines& lines() const { return lines_; }

  // An import hook's one original: every redirected entry's detour calls on
  // the function its owner found (set before the first entry is redirected).
  // Tests and benchmarks give a stand-in the same way.
  void SetOriginal(void* original) {
    sites_[0].original.store(original, std::memory_order_release);
  }

  // An import entry; kOriginalUnknown (nothing stored) while no original was set.
  PatchStatus RedirectImport(void** entry, StoreFn store = &StoreCodePointer);

  // The hook's slot of `table`. A table seen before keeps its original (an
  // entry someone else changed since is redirected again); a new one gets a
  // record of its own, kRefused when none is left.
  PatchStatus Redirect(void** table, StoreFn store = &StoreCodePointer);

  // Record `site` is filled once per process, by whichever thread gets there
  // first: afterwards every call returns kAlreadyRedirected, whatever table it
  // names. A table that another record holds is kAlreadyRedirected as well.
  PatchStatus RedirectOnce(void** table, int site, StoreFn store = &StoreCodePointer);

  // The original the detour calls on: the one original, or that of the
  // object's method table. Null before an install succeeded.
  template <typename Fn>
  Fn Original(const void* object = nullptr) const {
    return reinterpret_cast<Fn>(OriginalFor(object));
  }

  // The table a record holds; null while empty.
  void** Table(int site) const;

 private:
  struct Site {
    std::atomic<void**> table{nullptr};
    std::atomic<void*> original{nullptr};
  };

  void* OriginalFor(const void* object) const {
    if (tables_ == 1 || object == nullptr)
      return sites_[0].original.load(std::memory_order_acquire);
    void** const table = *static_cast<void** const*>(object);
    for (int i = 0; i < tables_; ++i) {
      if (sites_[i].table.load(std::memory_order_acquire) == table) {
        return sites_[i].original.load(std::memory_order_acquire);
      }
    }
    return nullptr;
  }
  Site* Find(void** table);
  PatchStatus Fill(Site& site, void** table, StoreFn store);
  void Lock();
  void Unlock();

  const char* name_;
  TableKind kind_;
  int slot_;
  int tables_;
  void* detour_;
  HookLines lines_;
  Site sites_[kMaxHookTables];
  std::atomic_flag busy_ = ATOMIC_FLAG_INIT;
};

// The line for an install's status: the hook's own, or the registry's. False
// when nothing is written (kAlreadyRedirected, or an empty line).
bool FormatRedirectLine(const Hook& hook, PatchStatus status, char* out, size_t size);

// Writes that line to the log (patch_report.cpp).
void ReportRedirect(const Hook& hook, PatchStatus status);

}  // namespace artwheel
