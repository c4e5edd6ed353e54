#include "runtime/win32/Win32MouseInput.h"

#include "runtime/win32/Guarded.h"

namespace win32 {
namespace {

// Windows calls a low-level hook procedure without any context of ours, so the procedure
// has to be found through this one slot: the mouse input object whose hook is installed.
// It is set while that object has a hook in place and cleared when the last one goes, so
// the program has (and needs) one low-level mouse procedure at a time.
Win32MouseInput* g_hookOwner = nullptr;

}  // namespace

rt::LowLevelMouseEvent ToLowLevelMouseEvent(const MSLLHOOKSTRUCT& record, LPARAM nativeRecord) {
  rt::LowLevelMouseEvent event;
  event.x = record.pt.x;
  event.y = record.pt.y;
  event.mouseData = record.mouseData;
  event.flags = record.flags;
  event.time = record.time;
  event.extraInfo = record.dwExtraInfo;
  event.nativeRecord = static_cast<std::uintptr_t>(nativeRecord);
  return event;
}

Win32MouseInput::Win32MouseInput(HINSTANCE instance, rt::UnhandledFailureSink& failures)
    : instance_(instance), failures_(failures) {}

Win32MouseInput::~Win32MouseInput() {
  hooks_.clear();
  if (g_hookOwner == this) g_hookOwner = nullptr;
}

rt::HookHandle Win32MouseInput::SetLowLevelHook(rt::MouseHookProcedure procedure) {
  procedure_ = std::move(procedure);
  g_hookOwner = this;
  HHOOK hook = ::SetWindowsHookExW(WH_MOUSE_LL, &Win32MouseInput::HookTrampoline, instance_, 0);
  if (hook == nullptr) {
    if (hooks_.empty()) g_hookOwner = nullptr;
    return 0;
  }
  hooks_.emplace(hook, UniqueHook(hook));
  return reinterpret_cast<rt::HookHandle>(hook);
}

bool Win32MouseInput::Unhook(rt::HookHandle handle) {
  if (handle == 0) return false;
  HHOOK hook = reinterpret_cast<HHOOK>(handle);
  if (auto owned = hooks_.find(hook); owned != hooks_.end()) {
    owned->second.release();
    hooks_.erase(owned);
  }
  const bool removed = ::UnhookWindowsHookEx(hook) != FALSE;
  if (hooks_.empty() && g_hookOwner == this) g_hookOwner = nullptr;
  return removed;
}

std::intptr_t Win32MouseInput::CallNextHook(rt::HookHandle handle, int code, std::uintptr_t message,
                                            const rt::LowLevelMouseEvent& event) {
  return ::CallNextHookEx(reinterpret_cast<HHOOK>(handle), code, static_cast<WPARAM>(message),
                          static_cast<LPARAM>(event.nativeRecord));
}

void Win32MouseInput::InjectLeftButton(rt::LeftButtonAction action, std::uintptr_t extraInfo) {
  INPUT input{};
  input.type = INPUT_MOUSE;
  input.mi.dwFlags = action == rt::LeftButtonAction::Press ? MOUSEEVENTF_LEFTDOWN : MOUSEEVENTF_LEFTUP;
  input.mi.dwExtraInfo = extraInfo;
  ::SendInput(1, &input, sizeof(input));
}

unsigned Win32MouseInput::DoubleClickTimeMs() { return ::GetDoubleClickTime(); }

LRESULT CALLBACK Win32MouseInput::HookTrampoline(int code, WPARAM wParam, LPARAM lParam) {
  Win32MouseInput* owner = g_hookOwner;
  const auto passOn = [&] { return ::CallNextHookEx(nullptr, code, wParam, lParam); };
  if (owner == nullptr || !owner->procedure_ || lParam == 0) return passOn();
  const rt::LowLevelMouseEvent event = ToLowLevelMouseEvent(*reinterpret_cast<const MSLLHOOKSTRUCT*>(lParam), lParam);
  // A copy, so the procedure survives being replaced by a nested call into the program.
  const rt::MouseHookProcedure procedure = owner->procedure_;
  return Guarded(
      owner->failures_,
      [&]() -> LRESULT { return static_cast<LRESULT>(procedure(code, static_cast<std::uintptr_t>(wParam), event)); },
      passOn);
}

}  // namespace win32
