#pragma once
// A per-thread boolean in a Windows TLS slot: no allocation and no runtime
// support needed, unlike thread_local in a DLL built by MinGW.
#include <windows.h>

#include <atomic>

namespace artwheel {

class ThreadFlag {
 public:
  bool IsSet() {
    const DWORD slot = Slot();
    return slot != TLS_OUT_OF_INDEXES && TlsGetValue(slot) != nullptr;
  }
  void Set(bool value) {
    const DWORD slot = Slot();
    if (slot != TLS_OUT_OF_INDEXES) TlsSetValue(slot, value ? reinterpret_cast<void*>(1) : nullptr);
  }

 private:
  DWORD Slot() {
    DWORD slot = slot_.load(std::memory_order_acquire);
    if (slot != TLS_OUT_OF_INDEXES) return slot;
    const DWORD fresh = TlsAlloc();
    if (fresh == TLS_OUT_OF_INDEXES) return fresh;
    if (!slot_.compare_exchange_strong(slot, fresh, std::memory_order_acq_rel)) {
      TlsFree(fresh);  // another thread won the race; use its slot
      return slot;
    }
    return fresh;
  }
  std::atomic<DWORD> slot_{TLS_OUT_OF_INDEXES};
};

// Sets the flag for the lifetime of a scope and then restores what it was.
class ThreadFlagScope {
 public:
  explicit ThreadFlagScope(ThreadFlag& flag) : flag_(flag), previous_(flag.IsSet()) {
    flag_.Set(true);
  }
  ~ThreadFlagScope() { flag_.Set(previous_); }
  ThreadFlagScope(const ThreadFlagScope&) = delete;
  ThreadFlagScope& operator=(const ThreadFlagScope&) = delete;

 private:
  ThreadFlag& flag_;
  bool previous_;
};

}  // namespace artwheel
