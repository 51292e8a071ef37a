#include "allocation_count.h"

#include <cstdlib>
#include <new>

namespace {
thread_local bool counting = false;
thread_local int allocations = 0;
}  // namespace

namespace alloc_count {
void Start() {
  allocations = 0;
  counting = true;
}
int Stop() {
  counting = false;
  return allocations;
}
}  // namespace alloc_count

#if SK_ALLOC_COUNT
void* operator new(std::size_t size) {
  if (counting) ++allocations;
  if (void* p = std::malloc(size ? size : 1)) return p;
  throw std::bad_alloc();
}
void operator delete(void* p) noexcept {
  std::free(p);
}
void operator delete(void* p, std::size_t) noexcept {
  std::free(p);
}
#endif
