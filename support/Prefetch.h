#pragma once
// A hint to the processor to start loading memory that will be read soon. Passes that visit
// scattered scan lines (every sixth line, say) wait on main memory for each line otherwise:
// the hardware prefetchers follow streams, not jumps of several hundred bytes.

#include <cstddef>

namespace tarvelo {

// Starts loading the cache lines holding `bytes` bytes from `address`; no effect elsewhere.
// Always inlined: the compiler drops calls to a function that only prefetches, as it has
// no effect on the program's results (compilers without the attribute ignore it).
[[gnu::always_inline]] inline void PrefetchForRead(const void* address, size_t bytes) {
#if defined(__GNUC__) || defined(__clang__)
  const char* at = static_cast<const char*>(address);
  for (size_t offset = 0; offset < bytes; offset += 64) __builtin_prefetch(at + offset, 0, 3);
#else
  (void)address;
  (void)bytes;
#endif
}

}  // namespace tarvelo
