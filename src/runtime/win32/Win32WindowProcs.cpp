#include "runtime/win32/Win32WindowProcs.h"

#include "runtime/Failure.h"
#include "runtime/win32/Guarded.h"

namespace win32 {
namespace {

constexpr wchar_t kReplacementProperty[] = L"Vornatic.WindowProc";

HWND ToHwnd(rt::WindowHandle window) { return reinterpret_cast<HWND>(window); }

}  // namespace

struct Win32WindowProcs::Replacement {
  Win32WindowProcs* owner;
  WNDPROC previous;
  rt::ProgramWindowProc procedure;
};

Win32WindowProcs::~Win32WindowProcs() {
  while (!replacements_.empty()) {
    auto first = replacements_.begin();
    Forget(first->first, first->second->previous);
  }
}

std::uintptr_t Win32WindowProcs::ReplaceWindowProc(rt::WindowHandle window, rt::ProgramWindowProc procedure) {
  HWND hwnd = ToHwnd(window);
  if (replacements_.count(hwnd) != 0) throw rt::Failure(L"The window procedure is already replaced.");
  auto replacement = std::make_shared<Replacement>(Replacement{this, nullptr, std::move(procedure)});
  if (!::SetPropW(hwnd, kReplacementProperty, replacement.get())) return 0;
  ::SetLastError(0);
  const LONG_PTR previous =
      ::SetWindowLongPtrW(hwnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&Win32WindowProcs::Trampoline));
  if (previous == 0 && ::GetLastError() != 0) {
    ::RemovePropW(hwnd, kReplacementProperty);
    return 0;
  }
  replacement->previous = reinterpret_cast<WNDPROC>(previous);
  replacements_.emplace(hwnd, std::move(replacement));
  return static_cast<std::uintptr_t>(previous);
}

void Win32WindowProcs::RestoreWindowProc(rt::WindowHandle window, std::uintptr_t previous) {
  Forget(ToHwnd(window), reinterpret_cast<WNDPROC>(previous));
}

void Win32WindowProcs::Forget(HWND window, WNDPROC previous) {
  if (::IsWindow(window)) {
    ::SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(previous));
    ::RemovePropW(window, kReplacementProperty);
  }
  replacements_.erase(window);
}

std::intptr_t Win32WindowProcs::CallWindowProc(std::uintptr_t procedure, rt::WindowHandle window, std::uint32_t message,
                                               std::uintptr_t wParam, std::intptr_t lParam) {
  return ::CallWindowProcW(reinterpret_cast<WNDPROC>(procedure), ToHwnd(window), message, wParam, lParam);
}

void Win32WindowProcs::SetUserData(rt::WindowHandle window, std::uintptr_t value) {
  ::SetWindowLongPtrW(ToHwnd(window), GWLP_USERDATA, static_cast<LONG_PTR>(value));
}

std::uintptr_t Win32WindowProcs::GetUserData(rt::WindowHandle window) {
  return static_cast<std::uintptr_t>(::GetWindowLongPtrW(ToHwnd(window), GWLP_USERDATA));
}

LRESULT CALLBACK Win32WindowProcs::Trampoline(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  auto* found = static_cast<Replacement*>(::GetPropW(window, kReplacementProperty));
  if (found == nullptr) return ::DefWindowProcW(window, message, wParam, lParam);
  Win32WindowProcs& owner = *found->owner;
  const auto entry = owner.replacements_.find(window);
  if (entry == owner.replacements_.end()) return ::DefWindowProcW(window, message, wParam, lParam);
  const std::shared_ptr<Replacement> replacement = entry->second;  // alive until this call returns
  const LRESULT result = Guarded(
      owner.failures_,
      [&]() -> LRESULT {
        return static_cast<LRESULT>(replacement->procedure(reinterpret_cast<rt::WindowHandle>(window), message,
                                                           static_cast<std::uintptr_t>(wParam),
                                                           static_cast<std::intptr_t>(lParam)));
      },
      [&] { return ::CallWindowProcW(replacement->previous, window, message, wParam, lParam); });
  // The window is going: nothing of ours may stay attached to it.
  if (message == WM_NCDESTROY && owner.replacements_.count(window) != 0) owner.Forget(window, replacement->previous);
  return result;
}

}  // namespace win32
