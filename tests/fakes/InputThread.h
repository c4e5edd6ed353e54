// The thread the fakes call a low-level hook on, as Windows calls it on a thread of its own:
// jobs run there one at a time, in the order they came. A user's event waits for the
// hook's answer, with a patience in real time as Windows has; an injected one does not.
#pragma once
#include <chrono>
#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <thread>

namespace fake {

class InputThread {
 public:
  InputThread();
  InputThread(const InputThread&) = delete;
  InputThread& operator=(const InputThread&) = delete;
  ~InputThread();

  // False when the job had not finished within the patience; it still finishes later.
  bool RunAndWait(std::function<void()> job, std::chrono::milliseconds patience);
  void RunLater(std::function<void()> job);
  // Returns once every job given so far has finished.
  void WaitIdle();
  bool OnThisThread() const { return std::this_thread::get_id() == thread_.get_id(); }

 private:
  void Loop();

  std::mutex mutex_;
  std::condition_variable changed_;
  std::deque<std::function<void()>> jobs_;
  std::uint64_t given_ = 0;
  std::uint64_t finished_ = 0;
  bool stopping_ = false;
  std::thread thread_;
};

}  // namespace fake
