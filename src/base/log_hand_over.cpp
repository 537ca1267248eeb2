#include "base/log_hand_over.h"

#include <atomic>
#include <cstring>

namespace artwheel {
namespace {

template <typename T>
std::atomic_ref<T> Atomic(T& value) {
  return std::atomic_ref<T>(value);
}

// The fields are only read through atomic operations, which take no const.
template <typename T>
std::atomic_ref<T> Atomic(const T& value) {
  return std::atomic_ref<T>(const_cast<T&>(value));
}

HandOverSlot& SlotOf(HandOverRing& ring, uint64_t ticket) {
  return ring.slots[ticket % kHandOverCapacity];
}

const HandOverSlot& SlotOf(const HandOverRing& ring, uint64_t ticket) {
  return ring.slots[ticket % kHandOverCapacity];
}

uint64_t FreeStamp(uint64_t ticket) { return 2 * (ticket / kHandOverCapacity); }

uint64_t HeldStamp(uint64_t ticket) { return FreeStamp(ticket) + 1; }

// Takes the next ticket of `counter` (lines in, or lines out) once its slot
// shows the stamp that ticket waits for; false when the slot is a round
// behind (full, or nothing there yet).
bool ClaimTicket(HandOverRing& ring, uint64_t& counter, uint64_t (*ready)(uint64_t),
                 uint64_t* claimed) {
  uint64_t ticket = Atomic(counter).load(std::memory_order_relaxed);
  for (;;) {
    const uint64_t stamp = Atomic(SlotOf(ring, ticket).stamp).load(std::memory_order_acquire);
    if (stamp == ready(ticket)) {
      if (Atomic(counter).compare_exchange_weak(ticket, ticket + 1, std::memory_order_relaxed)) {
        *claimed = ticket;
        return true;
      }
    } else if (stamp < ready(ticket)) {
      return false;
    } else {
      ticket = Atomic(counter).load(std::memory_order_relaxed);
    }
  }
}

}  // namespace

bool HandOverLine(HandOverRing& ring, uint32_t threadId, const char* line, size_t length) {
  if (length > kHandOverLineSize) return false;
  uint64_t ticket = 0;
  if (!ClaimTicket(ring, ring.nextIn, &FreeStamp, &ticket)) return false;  // full
  HandOverSlot& slot = SlotOf(ring, ticket);
  std::memcpy(slot.text, line, length);
  slot.length = static_cast<uint32_t>(length);
  Atomic(slot.threadId).store(threadId, std::memory_order_relaxed);
  Atomic(slot.stamp).store(HeldStamp(ticket), std::memory_order_release);
  return true;
}

bool TakeHandedOverLine(HandOverRing& ring, char* text, size_t* length) {
  uint64_t ticket = 0;
  // None, or the oldest is still being copied in.
  if (!ClaimTicket(ring, ring.nextOut, &HeldStamp, &ticket)) return false;
  HandOverSlot& slot = SlotOf(ring, ticket);
  *length = slot.length;
  std::memcpy(text, slot.text, slot.length);
  Atomic(slot.stamp).store(FreeStamp(ticket + kHandOverCapacity), std::memory_order_release);
  return true;
}

bool AnyLineHandedOver(const HandOverRing& ring) {
  return Atomic(ring.nextOut).load(std::memory_order_acquire) !=
         Atomic(ring.nextIn).load(std::memory_order_acquire);
}

bool LinesOfThreadWaiting(const HandOverRing& ring, uint32_t threadId) {
  const uint64_t end = Atomic(ring.nextIn).load(std::memory_order_acquire);
  for (uint64_t ticket = Atomic(ring.nextOut).load(std::memory_order_acquire); ticket < end;
       ++ticket) {
    const HandOverSlot& slot = SlotOf(ring, ticket);
    // The thread's own line is never half handed over while it asks.
    if (Atomic(slot.stamp).load(std::memory_order_acquire) == HeldStamp(ticket) &&
        Atomic(slot.threadId).load(std::memory_order_relaxed) == threadId) {
      return true;
    }
  }
  return false;
}

void CountDroppedLine(HandOverRing& ring) {
  Atomic(ring.dropped).fetch_add(1, std::memory_order_relaxed);
}

uint32_t TakeDroppedLines(HandOverRing& ring) {
  return Atomic(ring.dropped).exchange(0, std::memory_order_relaxed);
}

void AddHandOverWriter(HandOverRing& ring) {
  Atomic(ring.writers).fetch_add(1, std::memory_order_release);
}

bool AnyHandOverWriter(const HandOverRing& ring) {
  return Atomic(ring.writers).load(std::memory_order_acquire) != 0;
}

}  // namespace artwheel
