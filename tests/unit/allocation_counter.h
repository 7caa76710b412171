#pragma once
// Counts the allocations of the whole program through operator new, and the
// frees through operator delete, which the one translation unit that defines
// GLIMMER_COUNT_ALLOCATIONS replaces.

#include <atomic>
#include <cstddef>
#include <cstdlib>
#include <new>

inline std::atomic<std::size_t> g_allocations{0};
inline std::atomic<std::size_t> g_deallocations{0};

// Allocations not yet freed.
inline std::size_t LiveAllocations() {
    return g_allocations.load(std::memory_order_relaxed) - g_deallocations.load(std::memory_order_relaxed);
}

#ifdef GLIMMER_COUNT_ALLOCATIONS
// These replace the global pair, so memory from new is memory from malloc;
// the optimiser, which sees only the calls, thinks otherwise.
#pragma GCC diagnostic ignored "-Wmismatched-new-delete"
void* operator new(std::size_t size) {
    g_allocations.fetch_add(1, std::memory_order_relaxed);
    if (void* memory = std::malloc(size == 0 ? 1 : size)) return memory;
    throw std::bad_alloc();
}
void operator delete(void* memory) noexcept {
    if (memory) g_deallocations.fetch_add(1, std::memory_order_relaxed);
    std::free(memory);
}
void operator delete(void* memory, std::size_t) noexcept { operator delete(memory); }
#endif
