#include "runtime/win32/Win32EventPump.h"

#include <algorithm>

#include "runtime/Failure.h"
#include "runtime/win32/Guarded.h"
#include "runtime/win32/SystemMessage.h"

namespace win32 {
namespace {

constexpr wchar_t kTaskWindowClass[] = L"Vornatic.Tasks";
constexpr UINT kRunTask = WM_APP + 1;

void RegisterTaskWindowClass(HINSTANCE instance, WNDPROC procedure) {
  WNDCLASSEXW windowClass{};
  windowClass.cbSize = sizeof(windowClass);
  windowClass.lpfnWndProc = procedure;
  windowClass.hInstance = instance;
  windowClass.lpszClassName = kTaskWindowClass;
  // A second pump in the same process (the adapter tests make several) finds it registered.
  if (::RegisterClassExW(&windowClass) == 0 && ::GetLastError() != ERROR_CLASS_ALREADY_EXISTS)
    throw rt::Failure(SystemMessage(::GetLastError()));
}

DWORD TimeoutOf(std::optional<std::chrono::milliseconds> maxWait) {
  if (!maxWait) return INFINITE;
  const auto ms = std::clamp<long long>(maxWait->count(), 0, INFINITE - 1);
  return static_cast<DWORD>(ms);
}

}  // namespace

Win32EventPump::Win32EventPump(HINSTANCE instance, rt::UnhandledFailureSink& failures) : failures_(failures) {
  RegisterTaskWindowClass(instance, &Win32EventPump::TaskWindowProc);
  taskWindow_.reset(::CreateWindowExW(0, kTaskWindowClass, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, instance, this));
  if (!taskWindow_) throw rt::Failure(SystemMessage(::GetLastError()));
}

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
  tasks_.push_back(std::move(task));
  if (!::PostMessageW(taskWindow_.get(), kRunTask, 0, 0)) {
    const DWORD error = ::GetLastError();
    tasks_.pop_back();
    throw rt::Failure(SystemMessage(error));
  }
}

void Win32EventPump::RunNextTask() {
  if (tasks_.empty()) return;
  // Taken off the queue before it runs: the task may pump, and nested pumps run the next ones.
  std::function<void()> task = std::move(tasks_.front());
  tasks_.pop_front();
  Guarded(failures_, task);
}

LRESULT CALLBACK Win32EventPump::TaskWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    const auto* creation = reinterpret_cast<const CREATESTRUCTW*>(lParam);
    ::SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(creation->lpCreateParams));
  } else if (message == kRunTask) {
    if (auto* pump = reinterpret_cast<Win32EventPump*>(::GetWindowLongPtrW(window, GWLP_USERDATA))) pump->RunNextTask();
    return 0;
  }
  return ::DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace win32
