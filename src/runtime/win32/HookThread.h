// A thread that does nothing but hold one low-level mouse hook and answer it. Windows
// calls a low-level hook on the thread that installed it and gives it little time; on a
// thread of its own the hook is never kept waiting by the window's work (painting, a
// message box, a shell that does not answer).
#pragma once
#include <windows.h>

#include <thread>

namespace win32 {

class HookThread {
 public:
  // Starts the thread and installs the hook there; Hook() is null when Windows refused it
  // (and the thread has then already ended).
  HookThread(HINSTANCE instance, HOOKPROC procedure);
  HookThread(const HookThread&) = delete;
  HookThread& operator=(const HookThread&) = delete;
  // Removes the hook and ends the thread, waiting for it: nothing of it is left behind.
  ~HookThread();

  HHOOK Hook() const { return hook_; }
  DWORD ThreadId() const { return threadId_; }

 private:
  void Run(HINSTANCE instance, HOOKPROC procedure, HANDLE ready);

  HHOOK hook_ = nullptr;
  DWORD threadId_ = 0;
  std::thread thread_;
};

}  // namespace win32
