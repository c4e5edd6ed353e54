// The event pump of the user-interface thread, and the task queue behind Post: tasks travel
// as messages to a hidden message-only window, so every message loop dispatches them,
// including the modal loop of a message box.
#pragma once
#include <windows.h>

#include <chrono>
#include <deque>
#include <functional>
#include <map>
#include <mutex>
#include <optional>
#include <set>

#include "runtime/EventPump.h"
#include "runtime/UnhandledFailure.h"
#include "runtime/win32/Handles.h"

namespace win32 {

class Win32EventPump : public rt::EventPump {
 public:
  Win32EventPump(HINSTANCE instance, rt::UnhandledFailureSink& failures);
  Win32EventPump(const Win32EventPump&) = delete;
  Win32EventPump& operator=(const Win32EventPump&) = delete;

  // A quit that comes up here is handed on to the thread's outer loop and the pump returns
  // at once; it does not wait while a quit is pending.
  void PumpEvents(std::optional<std::chrono::milliseconds> maxWait) override;
  void Post(std::function<void()> task) override;
  void PostAfter(std::chrono::milliseconds delay, std::function<void()> task) override;
  // The ring is a message posted to the task window; the doorbell travels in it, and is
  // looked up among the living ones before its handler runs.
  std::unique_ptr<rt::Doorbell> MakeDoorbell(std::function<void()> handler) override;

  // Offered every message before it is translated and dispatched; returning true means
  // it was handled (dialog-style keyboard navigation, for instance).
  void SetPreTranslate(std::function<bool(MSG&)> preTranslate) { preTranslate_ = std::move(preTranslate); }

  // Translates and dispatches one message the way every loop of ours does.
  void Dispatch(MSG& message);

  HWND TaskWindow() const { return taskWindow_.get(); }

 private:
  struct Drained {
    bool dispatched = false;
    bool quit = false;  // a quit came up and was handed on; the caller returns at once
  };
  // Dispatches until the queue is empty or a quit comes up.
  Drained DrainQueue();
  void RunNextTask();
  void RunTimedTask(UINT_PTR id);
  void Answer(LPARAM doorbell);
  class Bell;
  static LRESULT CALLBACK TaskWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

  rt::UnhandledFailureSink& failures_;
  std::mutex tasksMutex_;
  std::deque<std::function<void()>> tasks_;
  // Tasks waiting for their timer, by the timer's id on the task window.
  std::map<UINT_PTR, std::function<void()>> timedTasks_;
  UINT_PTR nextTimerId_ = 1;
  std::set<const Bell*> bells_;
  std::function<bool(MSG&)> preTranslate_;
  UniqueWindow taskWindow_;
};

}  // namespace win32
