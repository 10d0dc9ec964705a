// Counts every allocation of the test program so that a test can show a code path allocates
// nothing.

#include "tests/serial/AllocationCounter.h"

#include <cstdlib>
#include <new>

namespace kem::gps::test {
std::atomic<long> g_allocations{0};
}

void* operator new(std::size_t size) {
    ++kem::gps::test::g_allocations;
    if (void* p = std::malloc(size ? size : 1))
        return p;
    throw std::bad_alloc();
}

void operator delete(void* p) noexcept {
    std::free(p);
}
void operator delete(void* p, std::size_t) noexcept {
    std::free(p);
}
