// Counts the allocations a thread makes while counting is on: the audio callback must make
// none. The test binary replaces the global operator new for it (allocation_count.cpp), except
// under AddressSanitizer: its own allocator takes the calls of libraries loaded at run time
// (the window's GL driver), and a replacement there would free what it never allocated.
#pragma once

#if defined(__SANITIZE_ADDRESS__)
#define SK_ALLOC_COUNT 0
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define SK_ALLOC_COUNT 0
#endif
#endif
#ifndef SK_ALLOC_COUNT
#define SK_ALLOC_COUNT 1
#endif

namespace alloc_count {

inline constexpr bool kAvailable = SK_ALLOC_COUNT != 0;

void Start();
int Stop();  // the allocations since Start on this thread; 0 where not kAvailable
}  // namespace alloc_count
