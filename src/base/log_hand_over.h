#pragma once
// The log's hand-over: lines that a game thread could not write within its
// budget, kept until one of our threads writes them. One per process, shared
// by every copy of the library in it, so a copy that never logs again (the
// second copy in a chain of proxies) loses none. Plain memory that starts
// zeroed and is only used through atomic operations, without a lock: each
// copy may see it at an address of its own. Platform-free.
#include <cstddef>
#include <cstdint>

namespace artwheel {

inline constexpr uint32_t kHandOverCapacity = 32;
// Time stamp, origin, a formatted message of at most 511 characters, CR LF.
inline constexpr size_t kHandOverLineSize = 640;
// The name of the process's hand-over (a mapping of the paging file), with the
// process id: every copy of the library in the process finds the same one. A
// change of the layout below changes the name's number, so that copies of
// different releases never share one.
inline constexpr char kHandOverNameFormat[] = "Local\\artwheel-log-hand-over-1-%lu";

struct HandOverSlot {
  // 2 * round while free for the line of that round, 2 * round + 1 while it
  // holds it (a slot's rounds are the tickets capacity apart).
  uint64_t stamp;
  uint32_t threadId;
  uint32_t length;
  char text[kHandOverLineSize];
};

struct HandOverRing {
  uint64_t nextIn;   // the ticket of the next line handed over
  uint64_t nextOut;  // the ticket of the next line to be written
  uint32_t dropped;  // lines nobody had room for since the last note of them
  uint32_t writers;  // threads of ours that write handed-over lines
  HandOverSlot slots[kHandOverCapacity];
};

// Keeps a copy of the line; false when the hand-over is full or the line too
// long (the caller counts it as dropped).
bool HandOverLine(HandOverRing& ring, uint32_t threadId, const char* line, size_t length);

// The oldest line handed over, copied into `text` (kHandOverLineSize bytes);
// false when there is none, or when the oldest is still being handed over.
bool TakeHandedOverLine(HandOverRing& ring, char* text, size_t* length);

bool AnyLineHandedOver(const HandOverRing& ring);

// Whether a line of that thread is still waiting to be written: its next line
// must wait behind it.
bool LinesOfThreadWaiting(const HandOverRing& ring, uint32_t threadId);

void CountDroppedLine(HandOverRing& ring);
// The lines dropped so far, and zero from now on.
uint32_t TakeDroppedLines(HandOverRing& ring);

// One more thread of ours that writes handed-over lines; whether there is any.
void AddHandOverWriter(HandOverRing& ring);
bool AnyHandOverWriter(const HandOverRing& ring);

}  // namespace artwheel
