// Counts the allocations a thread makes while counting is on: the audio callback must make
// none. The test binary replaces the global operator new for it (allocation_count.cpp).
#pragma once

namespace alloc_count {
void Start();
int Stop();  // the allocations since Start on this thread
}  // namespace alloc_count
