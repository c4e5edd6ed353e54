#include "runtime/win32/HookWatch.h"

#include <algorithm>
#include <bitset>

#include "runtime/win32/MessageWindow.h"

namespace win32 {
namespace {

constexpr wchar_t kWindowClass[] = L"Vornatic.HookWatch";
constexpr USHORT kGenericDesktop = 0x01;
constexpr USHORT kMouseUsage = 0x02;
constexpr UINT_PTR kCheckTimer = 1;
// The press and release flags of the five buttons; the wheel's flags are no button event.
constexpr USHORT kButtonTransitions = 0x03FF;

}  // namespace

HookWatch::HookWatch(HINSTANCE instance)
    : window_(MakeMessageWindow(instance, kWindowClass, &HookWatch::WindowProc, this)) {}

unsigned HookWatch::ButtonEventsIn(const RAWMOUSE& report) {
  return static_cast<unsigned>(std::bitset<16>(report.usButtonFlags & kButtonTransitions).count());
}

std::uint8_t HookWatch::ButtonsAfter(std::uint8_t before, const RAWMOUSE& report) {
  const USHORT flags = report.usButtonFlags;
  std::uint8_t after = before;
  const auto follow = [&](USHORT down, USHORT up, std::uint8_t bit) {
    if ((flags & down) != 0) after |= bit;
    if ((flags & up) != 0) after &= static_cast<std::uint8_t>(~bit);
  };
  follow(RI_MOUSE_LEFT_BUTTON_DOWN, RI_MOUSE_LEFT_BUTTON_UP, 1);
  follow(RI_MOUSE_RIGHT_BUTTON_DOWN, RI_MOUSE_RIGHT_BUTTON_UP, 2);
  follow(RI_MOUSE_MIDDLE_BUTTON_DOWN, RI_MOUSE_MIDDLE_BUTTON_UP, 4);
  return after;
}

std::optional<std::uint8_t> HookWatch::ButtonsDown() {
  if (!watching_) return std::nullopt;
  // Reports still queued for the watch's window count: the hook is called before raw input
  // reaches us, so the hook's latest press may not have been read here yet.
  MSG message{};
  while (::PeekMessageW(&message, window_.get(), WM_INPUT, WM_INPUT, PM_REMOVE)) ::DispatchMessageW(&message);
  return buttonsDown_;
}

void HookWatch::Watch() {
  if (watching_) return;
  RAWINPUTDEVICE device{kGenericDesktop, kMouseUsage, RIDEV_INPUTSINK, window_.get()};
  watching_ = ::RegisterRawInputDevices(&device, 1, sizeof(device)) != FALSE;
  // What is down before the first report: the key state, the best there is at this point.
  buttonsDown_ = static_cast<std::uint8_t>(((::GetAsyncKeyState(VK_LBUTTON) & 0x8000) != 0 ? 1 : 0) |
                                           ((::GetAsyncKeyState(VK_RBUTTON) & 0x8000) != 0 ? 2 : 0) |
                                           ((::GetAsyncKeyState(VK_MBUTTON) & 0x8000) != 0 ? 4 : 0));
  rawButtons_.clear();
  hookButtons_.store(0, std::memory_order_relaxed);
}

void HookWatch::StopWatching() {
  if (!watching_) return;
  RAWINPUTDEVICE device{kGenericDesktop, kMouseUsage, RIDEV_REMOVE, nullptr};
  ::RegisterRawInputDevices(&device, 1, sizeof(device));
  ::KillTimer(window_.get(), kCheckTimer);
  watching_ = checkPending_ = false;
}

void HookWatch::OnRawInput(HRAWINPUT input) {
  RAWINPUT raw{};
  UINT size = sizeof(raw);
  if (::GetRawInputData(input, RID_INPUT, &raw, &size, sizeof(RAWINPUTHEADER)) == static_cast<UINT>(-1)) return;
  if (raw.header.dwType != RIM_TYPEMOUSE || !watching_) return;
  buttonsDown_ = ButtonsAfter(buttonsDown_, raw.data.mouse);
  const ULONGLONG now = ::GetTickCount64();
  for (unsigned events = ButtonEventsIn(raw.data.mouse); events > 0; --events) rawButtons_.push_back(now);
  if (!checkPending_ && !rawButtons_.empty()) ScheduleCheck();
}

void HookWatch::ScheduleCheck() {
  const ULONGLONG due = rawButtons_.front() + kGraceMs;
  const ULONGLONG now = ::GetTickCount64();
  checkPending_ = true;
  ::SetTimer(window_.get(), kCheckTimer, static_cast<UINT>(due > now ? due - now : USER_TIMER_MINIMUM), nullptr);
}

void HookWatch::Check() {
  ::KillTimer(window_.get(), kCheckTimer);
  checkPending_ = false;
  if (!watching_) return;
  // Every raw event whose grace is (nearly) over must have reached the hook by now.
  constexpr ULONGLONG kTimerSlackMs = 50;
  const ULONGLONG now = ::GetTickCount64();
  unsigned due = 0;
  while (!rawButtons_.empty() && rawButtons_.front() + kGraceMs <= now + kTimerSlackMs) {
    rawButtons_.pop_front();
    ++due;
  }
  // The checked events come off both counts. Events injected without a raw report would
  // let the hook's count run ahead and hide a later miss, so it never stays ahead of raw.
  unsigned seen = hookButtons_.load(std::memory_order_relaxed);
  const bool missed = seen < due;
  const auto pending = static_cast<unsigned>(rawButtons_.size());
  unsigned left = 0;
  do {
    left = std::min(seen > due ? seen - due : 0u, pending);
  } while (!hookButtons_.compare_exchange_weak(seen, left, std::memory_order_relaxed));
  if (!rawButtons_.empty()) ScheduleCheck();
  if (missed && onMissed_) onMissed_();
}

LRESULT CALLBACK HookWatch::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (auto* self = OwnerOf<HookWatch>(window)) {
    if (message == WM_INPUT) self->OnRawInput(reinterpret_cast<HRAWINPUT>(lParam));
    if (message == WM_TIMER && wParam == kCheckTimer) self->Check();
  }
  return ::DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace win32
