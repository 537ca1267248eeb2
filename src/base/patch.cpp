#include "base/patch.h"

#include "base/text_format.h"

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

const char* PatchStatusText(PatchStatus status) {
  switch (status) {
    case PatchStatus::kRedirected:
      return "redirected";
    case PatchStatus::kAlreadyRedirected:
      return "already redirected";
    case PatchStatus::kOriginalUnknown:
      return "original unknown";
    case PatchStatus::kRefused:
      break;
  }
  return "failed";
}

// Held for a few loads and one store per table, a handful of times per
// process: spinning is cheaper than a kernel object and needs no runtime support.
void Hook::Lock() {
  while (busy_.test_and_set(std::memory_order_acquire)) {
  }
}

void Hook::Unlock() { busy_.clear(std::memory_order_release); }

void** Hook::Table(int site) const {
  if (site < 0 || site >= tables_) return nullptr;
  return sites_[site].table.load(std::memory_order_acquire);
}

Hook::Site* Hook::Find(void** table) {
  for (int i = 0; i < tables_; ++i) {
    if (sites_[i].table.load(std::memory_order_acquire) == table) return &sites_[i];
  }
  return nullptr;
}

// An empty record takes the table; the table and its original are published
// before the store, for detours that find their original by the table. A
// refused store empties the record again.
PatchStatus Hook::Fill(Site& site, void** table, StoreFn store) {
  void** const entry = &table[slot_];
  if (*entry == detour_) return PatchStatus::kOriginalUnknown;  // led here by no record of ours
  site.table.store(table, std::memory_order_release);
  const PatchStatus status = RedirectEntry(entry, detour_, kind_, &site.original, store);
  if (status != PatchStatus::kRedirected) site.table.store(nullptr, std::memory_order_release);
  return status;
}

PatchStatus Hook::RedirectImport(void** entry, StoreFn store) {
  if (sites_[0].original.load(std::memory_order_acquire) == nullptr) {
    return PatchStatus::kOriginalUnknown;
  }
  return RedirectEntry(entry, detour_, TableKind::kImport, nullptr, store);
}

PatchStatus Hook::Redirect(void** table, StoreFn store) {
  Lock();
  PatchStatus status = PatchStatus::kRefused;
  if (Site* known = Find(table)) {
    status = RedirectEntry(&table[slot_], detour_, kind_, &known->original, store);
  } else if (Site* free = Find(nullptr)) {
    status = Fill(*free, table, store);
  }
  Unlock();
  return status;
}

PatchStatus Hook::RedirectOnce(void** table, int site, StoreFn store) {
  if (site < 0 || site >= tables_) return PatchStatus::kRefused;
  Site& record = sites_[site];
  if (record.table.load(std::memory_order_acquire) != nullptr) {
    return PatchStatus::kAlreadyRedirected;
  }
  Lock();
  PatchStatus status = PatchStatus::kAlreadyRedirected;
  if (record.table.load(std::memory_order_relaxed) == nullptr) {
    status = Find(table) != nullptr ? PatchStatus::kAlreadyRedirected : Fill(record, table, store);
  }
  Unlock();
  return status;
}

bool FormatRedirectLine(const Hook& hook, PatchStatus status, char* out, size_t size) {
  if (status == PatchStatus::kAlreadyRedirected) return false;
  const char* own =
      status == PatchStatus::kRedirected ? hook.lines().redirected : hook.lines().failed;
  if (own != nullptr) return own[0] != '\0' && FormatText(out, size, "%s", own) > 0;
  return FormatText(out, size, "[Hook] %s %s", hook.name(), PatchStatusText(status)) > 0;
}

}  // namespace artwheel
