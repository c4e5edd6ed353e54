#include "runtime/win32/Win32EventPump.h"

#include <algorithm>
#include <atomic>

#include "runtime/Failure.h"
#include "runtime/win32/Guarded.h"
#include "runtime/win32/MessageWindow.h"
#include "runtime/win32/SystemMessage.h"

namespace win32 {
namespace {

constexpr wchar_t kTaskWindowClass[] = L"Vornatic.Tasks";
constexpr UINT kRunTask = WM_APP + 1;
constexpr UINT kDoorbell = WM_APP + 2;

DWORD TimeoutOf(std::optional<std::chrono::milliseconds> maxWait) {
  if (!maxWait) return INFINITE;
  const auto ms = std::clamp<long long>(maxWait->count(), 0, INFINITE - 1);
  return static_cast<DWORD>(ms);
}

}  // namespace

class Win32EventPump::Bell final : public rt::Doorbell {
 public:
  Bell(Win32EventPump& pump, std::function<void()> handler) : pump_(pump), handler_(std::move(handler)) {
    pump_.bells_.insert(this);
  }
  ~Bell() override { pump_.bells_.erase(this); }
  bool Ring() noexcept override {
    // Rung again before it was answered: the one message on its way answers both.
    if (rung_.exchange(true)) return true;
    if (::PostMessageW(pump_.taskWindow_.get(), kDoorbell, 0, reinterpret_cast<LPARAM>(this))) return true;
    rung_ = false;
    return false;
  }
  void Answer() {
    rung_ = false;
    handler_();
  }

 private:
  Win32EventPump& pump_;
  std::function<void()> handler_;
  std::atomic<bool> rung_{false};
};

std::unique_ptr<rt::Doorbell> Win32EventPump::MakeDoorbell(std::function<void()> handler) {
  return std::make_unique<Bell>(*this, std::move(handler));
}

void Win32EventPump::Answer(LPARAM doorbell) {
  const auto* key = reinterpret_cast<const Bell*>(doorbell);
  if (bells_.count(key) == 0) return;  // gone before its ring came
  Guarded(failures_, [&] { const_cast<Bell*>(key)->Answer(); });
}

Win32EventPump::Win32EventPump(HINSTANCE instance, rt::UnhandledFailureSink& failures)
    : failures_(failures),
      taskWindow_(MakeMessageWindow(instance, kTaskWindowClass, &Win32EventPump::TaskWindowProc, this)) {}

void Win32EventPump::PumpEvents(std::optional<std::chrono::milliseconds> maxWait) {
  const Drained first = DrainQueue();
  if (first.dispatched || first.quit) return;
  const DWORD timeout = TimeoutOf(maxWait);
  if (timeout == 0) return;
  // Hook callbacks and sent messages are delivered inside the wait and the drain that
  // follows; either way the caller gets control back to look at its flags again.
  ::MsgWaitForMultipleObjectsEx(0, nullptr, timeout, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
  DrainQueue();
}

Win32EventPump::Drained Win32EventPump::DrainQueue() {
  Drained drained;
  MSG message{};
  while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
    if (message.message == WM_QUIT) {
      // A nested pump is never the thread's last loop: hand the quit on to the outer one.
      ::PostQuitMessage(static_cast<int>(message.wParam));
      drained.quit = true;
      return drained;
    }
    Dispatch(message);
    drained.dispatched = true;
  }
  return drained;
}

void Win32EventPump::Dispatch(MSG& message) {
  if (preTranslate_ && preTranslate_(message)) return;
  ::TranslateMessage(&message);
  ::DispatchMessageW(&message);
}

void Win32EventPump::Post(std::function<void()> task) {
  std::lock_guard<std::mutex> lock(tasksMutex_);
  tasks_.push_back(std::move(task));
  if (!::PostMessageW(taskWindow_.get(), kRunTask, 0, 0)) {
    const DWORD error = ::GetLastError();
    tasks_.pop_back();
    throw rt::Failure(SystemMessage(error));
  }
}

void Win32EventPump::PostAfter(std::chrono::milliseconds delay, std::function<void()> task) {
  const UINT_PTR id = nextTimerId_++;
  timedTasks_.emplace(id, std::move(task));
  // A window timer runs on the tick count, so a change of the time of day cannot bring it
  // forward or hold it back.
  if (::SetTimer(taskWindow_.get(), id, std::max<DWORD>(USER_TIMER_MINIMUM, TimeoutOf(delay)), nullptr) == 0) {
    const DWORD error = ::GetLastError();
    timedTasks_.erase(id);
    throw rt::Failure(SystemMessage(error));
  }
}

void Win32EventPump::RunTimedTask(UINT_PTR id) {
  ::KillTimer(taskWindow_.get(), id);
  const auto found = timedTasks_.find(id);
  if (found == timedTasks_.end()) return;
  std::function<void()> task = std::move(found->second);
  timedTasks_.erase(found);
  Guarded(failures_, task);
}

void Win32EventPump::RunNextTask() {
  std::function<void()> task;
  {
    std::lock_guard<std::mutex> lock(tasksMutex_);
    if (tasks_.empty()) return;
    // Taken off the queue before it runs: the task may pump, and nested pumps run the next ones.
    task = std::move(tasks_.front());
    tasks_.pop_front();
  }
  Guarded(failures_, task);
}

LRESULT CALLBACK Win32EventPump::TaskWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == kRunTask) {
    if (auto* pump = OwnerOf<Win32EventPump>(window)) pump->RunNextTask();
    return 0;
  }
  if (message == kDoorbell) {
    if (auto* pump = OwnerOf<Win32EventPump>(window)) pump->Answer(lParam);
    return 0;
  }
  if (message == WM_TIMER) {
    if (auto* pump = OwnerOf<Win32EventPump>(window)) pump->RunTimedTask(static_cast<UINT_PTR>(wParam));
    return 0;
  }
  return ::DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace win32
