#include "runtime/win32/HookThread.h"

#include "runtime/win32/Handles.h"

namespace win32 {

HookThread::HookThread(HINSTANCE instance, HOOKPROC procedure) {
  const UniqueKernelHandle ready(::CreateEventW(nullptr, TRUE, FALSE, nullptr));
  thread_ = std::thread([this, instance, procedure, event = ready.get()] { Run(instance, procedure, event); });
  ::WaitForSingleObject(ready.get(), INFINITE);
  if (hook_ == nullptr) thread_.join();
}

void HookThread::Run(HINSTANCE instance, HOOKPROC procedure, HANDLE ready) {
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
  // Windows calls the hook from inside this wait; the quit from the destructor ends it.
  while (::GetMessageW(&message, nullptr, 0, 0) > 0) ::DispatchMessageW(&message);
  ::UnhookWindowsHookEx(hook_);
}

HookThread::~HookThread() {
  if (!thread_.joinable()) return;
  ::PostThreadMessageW(threadId_, WM_QUIT, 0, 0);
  thread_.join();
}

}  // namespace win32
