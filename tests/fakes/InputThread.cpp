#include "fakes/InputThread.h"

namespace fake {

InputThread::InputThread() : thread_([this] { Loop(); }) {}

InputThread::~InputThread() {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    stopping_ = true;
  }
  changed_.notify_all();
  thread_.join();
}

void InputThread::Loop() {
  std::unique_lock<std::mutex> lock(mutex_);
  for (;;) {
    changed_.wait(lock, [this] { return stopping_ || !jobs_.empty(); });
    if (jobs_.empty()) return;
    std::function<void()> job = std::move(jobs_.front());
    jobs_.pop_front();
    lock.unlock();
    job();
    lock.lock();
    ++finished_;
    changed_.notify_all();
  }
}

void InputThread::RunLater(std::function<void()> job) {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    jobs_.push_back(std::move(job));
    ++given_;
  }
  changed_.notify_all();
}

bool InputThread::RunAndWait(std::function<void()> job, std::chrono::milliseconds patience) {
  std::unique_lock<std::mutex> lock(mutex_);
  jobs_.push_back(std::move(job));
  const std::uint64_t mine = ++given_;
  changed_.notify_all();
  return changed_.wait_for(lock, patience, [&] { return finished_ >= mine; });
}

void InputThread::WaitIdle() {
  if (OnThisThread()) return;
  std::unique_lock<std::mutex> lock(mutex_);
  changed_.wait(lock, [this] { return finished_ >= given_; });
}

}  // namespace fake
