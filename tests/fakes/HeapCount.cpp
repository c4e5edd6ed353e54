#include "fakes/HeapCount.h"

#include <cstdlib>
#include <new>
#include <utility>

namespace {
thread_local std::atomic<long>* t_counting = nullptr;

void* TryAllocate(std::size_t size) noexcept {
  if (std::atomic<long>* counter = t_counting) ++*counter;
  return std::malloc(size == 0 ? 1 : size);
}

void* Allocate(std::size_t size) {
  if (void* memory = TryAllocate(size)) return memory;
  throw std::bad_alloc();
}
}  // namespace

// The whole test program allocates through here, so the count sees every `new` of the code
// under test, wherever it comes from.
void* operator new(std::size_t size) { return Allocate(size); }
void* operator new[](std::size_t size) { return Allocate(size); }
void* operator new(std::size_t size, const std::nothrow_t&) noexcept { return TryAllocate(size); }
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept { return TryAllocate(size); }
void operator delete(void* memory) noexcept { std::free(memory); }
void operator delete[](void* memory) noexcept { std::free(memory); }
void operator delete(void* memory, std::size_t) noexcept { std::free(memory); }
void operator delete[](void* memory, std::size_t) noexcept { std::free(memory); }
void operator delete(void* memory, const std::nothrow_t&) noexcept { std::free(memory); }
void operator delete[](void* memory, const std::nothrow_t&) noexcept { std::free(memory); }

namespace fake {

HeapCount::HeapCount(std::atomic<long>& into) : outer_(std::exchange(t_counting, &into)) {}
HeapCount::~HeapCount() { t_counting = outer_; }

HeapCount::Pause::Pause() : paused_(std::exchange(t_counting, nullptr)) {}
HeapCount::Pause::~Pause() { t_counting = paused_; }

}  // namespace fake
