#include "runtime/win32/Win32MouseInput.h"

#include <array>

#include "runtime/win32/Guarded.h"
#include "runtime/win32/InjectedMouseInput.h"
#include "runtime/win32/WindowReach.h"

namespace win32 {
namespace {

// Windows calls a low-level hook procedure without any context of ours, so the procedure
// has to be found through this one slot: the mouse input object whose hook is installed.
// It is set while that object has a hook in place and cleared when the last one goes, so
// the program has (and needs) one low-level mouse procedure at a time.
Win32MouseInput* g_hookOwner = nullptr;
// What the program keeps down, for the crash path, which may run on any thread and must
// not take a lock; each note replaces the last.
std::atomic<std::uint8_t> g_keptDown{0};

constexpr std::uint8_t kPrimary = 1, kSecondary = 2, kMiddle = 4;

}  // namespace

rt::LowLevelMouseEvent ToLowLevelMouseEvent(const MSLLHOOKSTRUCT& record, LPARAM nativeRecord) {
  rt::LowLevelMouseEvent event;
  event.at = rt::ScreenPoint{record.pt.x, record.pt.y};
  event.mouseData = record.mouseData;
  event.flags = record.flags;
  event.time = record.time;
  event.extraInfo = record.dwExtraInfo;
  event.nativeRecord = static_cast<std::uintptr_t>(nativeRecord);
  return event;
}

Win32MouseInput::Win32MouseInput(HINSTANCE instance, rt::UnhandledFailureSink& failures, rt::EventPump& pump)
    : instance_(instance),
      failures_(failures),
      watch_(instance),
      ownProcess_(::GetCurrentProcessId()),
      ownLevel_(IntegrityLevelOf(::GetCurrentProcess())),
      failureBell_(pump.MakeDoorbell([this] { ReportHandedOver(); })) {}

Win32MouseInput::~Win32MouseInput() {
  hooks_.clear();
  if (g_hookOwner == this) g_hookOwner = nullptr;
}

rt::HookHandle Win32MouseInput::SetLowLevelHook(rt::MouseHookProcedure procedure) {
  // Set before the hook's thread starts, and only read there.
  procedure_ = std::move(procedure);
  g_hookOwner = this;
  auto thread = std::make_unique<HookThread>(instance_, &Win32MouseInput::HookTrampoline);
  const HHOOK hook = thread->Hook();
  if (hook == nullptr) {
    if (hooks_.empty()) g_hookOwner = nullptr;
    return 0;
  }
  hooks_.emplace(hook, std::move(thread));
  answerTimes_.Installed();
  watch_.Watch();
  return reinterpret_cast<rt::HookHandle>(hook);
}

bool Win32MouseInput::Unhook(rt::HookHandle handle) {
  const auto owned = hooks_.find(reinterpret_cast<HHOOK>(handle));
  if (handle == 0 || owned == hooks_.end()) return false;
  hooks_.erase(owned);  // the hook's thread removes it and ends
  if (hooks_.empty()) {
    watch_.StopWatching();
    if (g_hookOwner == this) g_hookOwner = nullptr;
  }
  answerTimes_.Flush();
  return true;
}

std::intptr_t Win32MouseInput::CallNextHook(rt::HookHandle handle, int code, std::uintptr_t message,
                                            const rt::LowLevelMouseEvent& event) {
  return ::CallNextHookEx(reinterpret_cast<HHOOK>(handle), code, static_cast<WPARAM>(message),
                          static_cast<LPARAM>(event.nativeRecord));
}

std::size_t Win32MouseInput::Inject(const std::vector<rt::MouseEventToInject>& events, std::uintptr_t extraInfo) {
  std::vector<INPUT> records = ToInputRecords(events, extraInfo, VirtualDesktop());
  if (records.empty()) return 0;
  return ::SendInput(static_cast<UINT>(records.size()), records.data(), sizeof(INPUT));
}


void Win32MouseInput::NoteKeptDown(std::uint8_t buttons) noexcept { g_keptDown = buttons; }

void Win32MouseInput::LetGoOnTheWayOut() noexcept {
  Win32MouseInput* owner = g_hookOwner;
  if (owner != nullptr) {
    // The crash may be on a hook's own thread, which cannot wait for itself: take the
    // hooks away from here and leave the threads to end with the process.
    for (auto& [hook, thread] : owner->hooks_) {
      ::UnhookWindowsHookEx(hook);
      thread.release();
    }
    owner->hooks_.clear();
    g_hookOwner = nullptr;
  }
  // What we keep down for the user is down as programs see it: let go of it while there is
  // still someone to do so. SendInput names the device's own buttons, so with swapped
  // buttons the primary one is the right.
  const std::uint8_t kept = g_keptDown.exchange(0);
  const bool swapped = ::GetSystemMetrics(SM_SWAPBUTTON) != 0;
  INPUT releases[3]{};
  UINT count = 0;
  const auto release = [&](DWORD flags) {
    releases[count].type = INPUT_MOUSE;
    releases[count].mi.dwFlags = flags;
    ++count;
  };
  if ((kept & kPrimary) != 0) release(swapped ? MOUSEEVENTF_RIGHTUP : MOUSEEVENTF_LEFTUP);
  if ((kept & kSecondary) != 0) release(swapped ? MOUSEEVENTF_LEFTUP : MOUSEEVENTF_RIGHTUP);
  if ((kept & kMiddle) != 0) release(MOUSEEVENTF_MIDDLEUP);
  if (count > 0) ::SendInput(count, releases, sizeof(INPUT));
}

bool Win32MouseInput::DeviceButtonDown(std::uint32_t upMessage) {
  const int key = upMessage == WM_RBUTTONUP ? VK_RBUTTON : upMessage == WM_MBUTTONUP ? VK_MBUTTON : VK_LBUTTON;
  return (::GetAsyncKeyState(key) & 0x8000) != 0;
}

unsigned Win32MouseInput::DoubleClickTimeMs() { return ::GetDoubleClickTime(); }

rt::ScreenSize Win32MouseInput::DoubleClickArea() {
  return rt::ScreenSize{::GetSystemMetrics(SM_CXDOUBLECLK), ::GetSystemMetrics(SM_CYDOUBLECLK)};
}

// Read each time: the user may change the setting while we run.
bool Win32MouseInput::ButtonsSwapped() { return ::GetSystemMetrics(SM_SWAPBUTTON) != 0; }

rt::WindowAtPoint Win32MouseInput::LookAt(rt::ScreenPoint point, bool askReach) {
  rt::WindowAtPoint result;
  // One look per event: the badge beside the pointer lets clicks through, so the window
  // found here is never it. Every window of this process is ours (the main window, the
  // Settings window, a message box), which one question to Windows tells.
  const HWND window = ::WindowFromPoint(POINT{point.x, point.y});
  if (window == nullptr) return result;
  DWORD processId = 0;
  const DWORD threadId = ::GetWindowThreadProcessId(window, &processId);
  result.program = processId;
  result.ours = processId == ownProcess_;
  if (askReach && !result.ours)
    result.reachable = reach_.Reaches(processId, threadId, [&](DWORD process) {
      return InjectedInputReachesProcess(process, ownLevel_);
    });
  return result;
}

std::optional<rt::DeviceButtons> Win32MouseInput::HandButtons() {
  const std::optional<rt::DeviceButtons> raw = watch_.ButtonsDown();
  if (!raw) return std::nullopt;
  // Raw input is not delivered while another desktop has the input, so a release made
  // there leaves it stale; the session's key state saw that release. A button reads as
  // down only when both say so: the key state alone counts what we keep down, raw input
  // alone may still remember a release it never got.
  rt::DeviceButtons keyState = 0;
  if ((::GetAsyncKeyState(VK_LBUTTON) & 0x8000) != 0) keyState |= 1;
  if ((::GetAsyncKeyState(VK_RBUTTON) & 0x8000) != 0) keyState |= 2;
  if ((::GetAsyncKeyState(VK_MBUTTON) & 0x8000) != 0) keyState |= 4;
  return static_cast<rt::DeviceButtons>(*raw & keyState);
}

rt::ScreenPoint Win32MouseInput::CursorPosition() {
  POINT at{};
  ::GetCursorPos(&at);
  return rt::ScreenPoint{at.x, at.y};
}

std::optional<rt::ScreenPoint> Win32MouseInput::LastPointNotTagged(std::uintptr_t tag) {
  POINT now{};
  if (!::GetCursorPos(&now)) return std::nullopt;
  // The trail is searched from the point where the pointer is, given in 16 bits; points
  // left of or above the primary monitor come back wrapped the same way.
  MOUSEMOVEPOINT from{};
  from.x = now.x & 0xFFFF;
  from.y = now.y & 0xFFFF;
  std::array<MOUSEMOVEPOINT, 64> trail{};
  const int count = ::GetMouseMovePointsEx(sizeof(MOUSEMOVEPOINT), &from, trail.data(), static_cast<int>(trail.size()),
                                           GMMP_USE_DISPLAY_POINTS);
  const auto unwrap = [](int v) { return v > 32767 ? v - 65536 : v; };
  // A trail that keeps no extra info (Wine's) cannot tell our points from the hand's and
  // would answer with the point we just put the pointer at. Ours are in the trail whenever
  // we have just moved the pointer, so a trail that shows none of them says nothing.
  std::optional<rt::ScreenPoint> hands;
  bool oursSeen = false;
  for (int i = 0; i < count && !(oursSeen && hands); ++i) {
    const MOUSEMOVEPOINT& point = trail[static_cast<std::size_t>(i)];
    if (point.dwExtraInfo == tag)
      oursSeen = true;
    else if (!hands)
      hands = rt::ScreenPoint{unwrap(point.x), unwrap(point.y)};
  }
  return oursSeen ? hands : std::nullopt;
}

namespace {
bool IsButtonMessage(WPARAM message) {
  return (message >= WM_LBUTTONDOWN && message <= WM_MBUTTONDBLCLK && message != WM_MOUSEWHEEL) ||
         message == WM_XBUTTONDOWN || message == WM_XBUTTONUP;
}
}  // namespace

// Runs on the hook's own thread.
LRESULT CALLBACK Win32MouseInput::HookTrampoline(int code, WPARAM wParam, LPARAM lParam) {
  const LONGLONG started = HookAnswerTimes::Now();
  Win32MouseInput* owner = g_hookOwner;
  const auto passOn = [&] { return ::CallNextHookEx(nullptr, code, wParam, lParam); };
  if (owner == nullptr || !owner->procedure_ || lParam == 0) return passOn();
  if (code == HC_ACTION && IsButtonMessage(wParam)) owner->watch_.HookSawButton();
  rt::LowLevelMouseEvent event = ToLowLevelMouseEvent(*reinterpret_cast<const MSLLHOOKSTRUCT*>(lParam), lParam);
  // No report and no box from here: this thread must answer every mouse event at once.
  LRESULT result = 0;
  if (ProgramEnding()) {
    result = passOn();
  } else {
    try {
      result = static_cast<LRESULT>(owner->procedure_(code, static_cast<std::uintptr_t>(wParam), event));
    } catch (...) {
      owner->HandOver(std::current_exception());
      result = passOn();
    }
  }
  owner->answerTimes_.Record(started, HookAnswerTimes::Now());
  return result;
}

void Win32MouseInput::HandOver(std::exception_ptr failure) noexcept {
  try {
    std::lock_guard<std::mutex> lock(failureMutex_);
    if (!hookFailure_) hookFailure_ = std::move(failure);
  } catch (...) {
  }
  failureBell_->Ring();
}

void Win32MouseInput::ReportHandedOver() {
  std::exception_ptr failure;
  {
    std::lock_guard<std::mutex> lock(failureMutex_);
    failure = std::exchange(hookFailure_, nullptr);
  }
  if (failure) std::rethrow_exception(failure);
}

}  // namespace win32
