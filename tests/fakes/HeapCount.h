// Heap allocations counted on the thread that asks for it: the fake mouse counts those the
// program's hook procedure makes, which Windows calls for every mouse event and which must
// answer without going to the heap. The fakes' own work inside that call is left out.
#pragma once
#include <atomic>

namespace fake {

class HeapCount {
 public:
  // Counts this thread's allocations into `into` while it lives.
  explicit HeapCount(std::atomic<long>& into);
  ~HeapCount();
  HeapCount(const HeapCount&) = delete;
  HeapCount& operator=(const HeapCount&) = delete;

  // Not counted while it lives: the fakes' own logging inside a counted call.
  class Pause {
   public:
    Pause();
    ~Pause();
    Pause(const Pause&) = delete;
    Pause& operator=(const Pause&) = delete;

   private:
    std::atomic<long>* paused_;
  };

 private:
  std::atomic<long>* outer_;
};

}  // namespace fake
