#pragma once

#include <atomic>

namespace kem::gps::test {
// Number of operator new calls so far in this program.
extern std::atomic<long> g_allocations;
}  // namespace kem::gps::test
