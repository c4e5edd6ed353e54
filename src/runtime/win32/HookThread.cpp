#include "runtime/win32/HookThread.h"

#include "runtime/win32/Handles.h"

namespace win32 {

HookThread::HookThread(HINSTANCE instance, HOOKPROC procedure, void (*afterAnswer)()) {
  const UniqueKernelHandle ready(::CreateEventW(nullptr, TRUE, FALSE, nullptr));
  thread_ = std::thread(
      [this, instance, procedure, afterAnswer, event = ready.get()] { Run(instance, procedure, afterAnswer, event); });
  ::WaitForSingleObject(ready.get(), INFINITE);
  if (hook_ == nullptr) thread_.join();
}

void HookThread::Run(HINSTANCE instance, HOOKPROC procedure, void (*afterAnswer)(), HANDLE ready) {
  threadId_ = ::GetCurrentThreadId();
  // Every mouse event on the desktop waits for this thread's answer, and it does next to
  // nothing: it goes ahead of a busy machine's other work, so the pointer never waits on it.
  ::SetThreadPriority(::GetCurrentThread(), THREAD_PRIORITY_HIGHEST);
  // The thread's queue exists before anyone posts to it.
  MSG message{};
  ::PeekMessageW(&message, nullptr, WM_USER, WM_USER, PM_NOREMOVE);
  hook_ = ::SetWindowsHookExW(WH_MOUSE_LL, procedure, instance, 0);
  const bool installed = hook_ != nullptr;
  ::SetEvent(ready);
  if (!installed) return;
  // Windows hands the hook its events as sent messages, which only a peek delivers: the
  // wait returns for each, the peek calls the hook, and once the peek is back the answer
  // has gone and the event is on its way. The quit from the destructor ends the loop.
  bool quit = false;
  while (!quit) {
    ::MsgWaitForMultipleObjectsEx(0, nullptr, INFINITE, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
    while (!quit && ::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
      quit = message.message == WM_QUIT;
      if (!quit) ::DispatchMessageW(&message);
    }
    afterAnswer();
  }
  ::UnhookWindowsHookEx(hook_);
}

HookThread::~HookThread() {
  if (!thread_.joinable()) return;
  ::PostThreadMessageW(threadId_, WM_QUIT, 0, 0);
  thread_.join();
}

}  // namespace win32
