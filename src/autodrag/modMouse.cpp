#include "autodrag/modMouse.h"

#include <algorithm>
#include <cstdlib>
#include <limits>
#include <utility>

namespace {
constexpr int kHcAction = 0;
}  // namespace

modMouse::modMouse(rt::Platform& platform) : platform_(platform) {
  platform_.mouse.SetHookLostHandler([this] { OnHookLost(); });
}

modMouse::~modMouse() { platform_.mouse.SetHookLostHandler({}); }

void modMouse::StartMouseHook() {
  // Asked here, on the window's thread: the shell may be slow to answer, and the hook
  // must never wait for it.
  std::optional<rt::ScreenRect> trayIcon = locateTrayIcon_ ? locateTrayIcon_() : std::nullopt;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    trayIcon_ = trayIcon;
    phase_ = Phase::Waiting;
    lastPress_.reset();
    pressOnOwnUi_ = false;
    trayIconPressed_ = false;
    bouncing_ = false;
    giveUpAsked_ = false;
  }
  InstallHook();
}

void modMouse::InstallHook() {
  // The old hook goes first: its thread is gone before the new one starts.
  hook_.Remove();
  hook_ = MouseHook(platform_.mouse, [this](int code, std::uintptr_t message, const rt::LowLevelMouseEvent& event) {
    return MouseHookProc(code, message, event);
  });
  lastHandle_ = hook_.Handle();
}

void modMouse::StopMouseHook() {
  hook_.Remove();
  LetGo();
}

void modMouse::OnHookLost() {
  if (!hook_.Installed()) return;
  std::unique_lock<std::mutex> lock(mutex_);
  if (phase_ == Phase::Waiting) {
    // Nothing was held: at worst a click went through as an ordinary click. The hook
    // goes back in and auto-drag carries on.
    lock.unlock();
    InstallHook();
    return;
  }
  if (phase_ != Phase::Holding) return;
  // The drop may have gone by unseen: what the user holds is no longer known. The
  // controller gives up, which puts things back, and says why.
  trouble_ = Trouble::HookLost;
  WakeTheLoop();
}

bool modMouse::HoldingButton() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return phase_ == Phase::Holding;
}

bool modMouse::GiveUpAsked() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return giveUpAsked_;
}

void modMouse::OwnTrayIconPressed() {
  std::lock_guard<std::mutex> lock(mutex_);
  trayIconPressed_ = true;
}

modMouse::Trouble modMouse::CurrentTrouble() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return trouble_;
}

void modMouse::ClearTrouble() {
  std::lock_guard<std::mutex> lock(mutex_);
  trouble_ = Trouble::None;
}

std::int16_t modMouse::ClickCount() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return clickCount_;
}

void modMouse::ResetClickCount() {
  std::lock_guard<std::mutex> lock(mutex_);
  clickCount_ = 0;
}

void modMouse::CountRelease() {
  // The controller resets the count at every start and whenever it passes 1, so it never
  // comes near the top in operation; saturating keeps a runaway from wrapping negative.
  if (clickCount_ < std::numeric_limits<std::int16_t>::max()) ++clickCount_;
}

std::intptr_t modMouse::MouseHookProc(int code, std::uintptr_t message, const rt::LowLevelMouseEvent& event) {
  const int hookCode = static_cast<std::int16_t>(code & 0xFFFF);
  if (hookCode == kHcAction) {
    std::lock_guard<std::mutex> lock(mutex_);
    if (Decide(static_cast<std::uint32_t>(message), event) == Verdict::Swallow) return 1;
  }
  return platform_.mouse.CallNextHook(lastHandle_, hookCode, message, event);
}

// Windows bypasses, and finally removes, a low-level hook that keeps the desktop waiting,
// so nothing here waits: every event is passed or swallowed on the spot, and what the
// window must do about it is posted.
//
// The hook is told the primary button as the left one whatever the user's setting:
// Windows swaps the buttons before the hooks see them ("the left button generates
// right-button messages", SwapMouseButton, learn.microsoft.com/windows/win32/api/winuser/
// nf-winuser-swapmousebutton), while SendInput and the key state name the device's own
// buttons ("GetAsyncKeyState(VK_LBUTTON) always returns the state of the left physical
// mouse button, regardless of whether it is mapped to the left or right logical mouse
// button", learn.microsoft.com/windows/win32/api/winuser/nf-winuser-getasynckeystate).
modMouse::Verdict modMouse::Decide(std::uint32_t message, const rt::LowLevelMouseEvent& event) {
  lastPointer_ = event.at;
  if (event.extraInfo == kInjectedTag) return Verdict::PassOn;
  switch (phase_) {
    case Phase::Waiting: return WhileWaiting(message, event);
    case Phase::Holding: return WhileHolding(message, event);
    case Phase::Dropped: return Verdict::PassOn;
  }
  return Verdict::PassOn;
}

modMouse::Verdict modMouse::WhileWaiting(std::uint32_t message, const rt::LowLevelMouseEvent& event) {
  if (message == rt::msg::kLButtonDown) {
    lastPress_ = Press{event.at, event.time};
    pressOnOwnUi_ = IsOwnUiAt(event.at);
    trayIconPressed_ = false;
    return Verdict::PassOn;
  }
  if (message != rt::msg::kLButtonUp) return Verdict::PassOn;
  // A click on our own window or tray icon works that window or icon; it picks nothing up.
  const bool onOwnUi = std::exchange(pressOnOwnUi_, false) | std::exchange(trayIconPressed_, false);
  if (onOwnUi || IsOwnUiAt(event.at)) return Verdict::PassOn;
  return PickUp(event);
}

modMouse::Verdict modMouse::PickUp(const rt::LowLevelMouseEvent& event) {
  if (!platform_.mouse.CanReach(event.at)) {
    trouble_ = Trouble::WindowOutOfReach;
    WakeTheLoop();
    return Verdict::PassOn;
  }
  CountRelease();
  // The item was taken where the button went down; a press from before the hook went in
  // was not seen, and then the release's point is the best we know.
  pickUp_ = lastPress_.value_or(Press{event.at, event.time});
  phase_ = Phase::Holding;
  TellHoldStateLater();
  WakeTheLoop();
  return Verdict::Swallow;
}

modMouse::Verdict modMouse::WhileHolding(std::uint32_t message, const rt::LowLevelMouseEvent& event) {
  if (message == rt::msg::kLButtonDown) {
    // The button is already down for the user; this press only says what its release will mean.
    pressOnOwnUi_ = IsOwnUiAt(event.at);
    bouncing_ = !pressOnOwnUi_ && IsBounce(event);
    return Verdict::Swallow;
  }
  if (message != rt::msg::kLButtonUp) {
    if (message == rt::msg::kMouseMove) TellPointerLater();
    return Verdict::PassOn;
  }
  if (std::exchange(bouncing_, false)) return Verdict::Swallow;
  if (std::exchange(pressOnOwnUi_, false) || IsOwnUiAt(event.at)) {
    giveUpAsked_ = true;
    WakeTheLoop();
    return Verdict::Swallow;
  }
  // The drop: the user's own release lets go, where and when they let go.
  CountRelease();
  phase_ = Phase::Dropped;
  TellHoldStateLater();
  WakeTheLoop();
  return Verdict::PassOn;
}

bool modMouse::IsOwnUiAt(rt::ScreenPoint point) {
  return (trayIcon_ && trayIcon_->Contains(point)) || platform_.mouse.IsOwnWindowAt(point);
}

bool modMouse::IsBounce(const rt::LowLevelMouseEvent& press) {
  // Tick counts wrap after 49 days; the unsigned difference is right across the wrap.
  const std::uint32_t sincePickUp = press.time - pickUp_.time;
  if (sincePickUp > platform_.mouse.DoubleClickTimeMs()) return false;
  const rt::ScreenSize area = platform_.mouse.DoubleClickArea();
  return std::abs(press.at.x - pickUp_.at.x) * 2 <= area.width && std::abs(press.at.y - pickUp_.at.y) * 2 <= area.height;
}

std::uint32_t modMouse::PrimaryUpToInject() {
  return platform_.mouse.ButtonsSwapped() ? rt::msg::kRButtonUp : rt::msg::kLButtonUp;
}

void modMouse::ReleaseLeftButton() { LetGo(); }

std::vector<rt::MouseEventToInject> modMouse::EndHold(bool putBack) {
  std::lock_guard<std::mutex> lock(mutex_);
  std::vector<rt::MouseEventToInject> events;
  if (phase_ == Phase::Holding) {
    phase_ = Phase::Dropped;
    if (putBack) {
      events.push_back({PrimaryUpToInject(), pickUp_.at, 0});
      events.push_back({rt::msg::kMouseMove, lastPointer_, 0});
    } else {
      events.push_back({PrimaryUpToInject(), std::nullopt, 0});
    }
  } else if (owedRelease_ && !putBack) {
    events.push_back({PrimaryUpToInject(), std::nullopt, 0});
  }
  if (!putBack) owedRelease_ = false;
  return events;
}

void modMouse::GiveUp() {
  const std::vector<rt::MouseEventToInject> events = EndHold(true);
  if (!events.empty()) Inject(events);
  TellHoldState();
}

void modMouse::LetGo() {
  const std::vector<rt::MouseEventToInject> events = EndHold(false);
  if (!events.empty()) Inject(events);
  TellHoldState();
}

void modMouse::Inject(const std::vector<rt::MouseEventToInject>& events) {
  std::size_t taken = 0;
  const auto troubled = [this](bool owesRelease) {
    std::lock_guard<std::mutex> lock(mutex_);
    owedRelease_ = owedRelease_ || owesRelease;
    trouble_ = Trouble::InjectionRefused;
    WakeTheLoop();
  };
  try {
    taken = platform_.mouse.Inject(events, kInjectedTag);
  } catch (...) {
    troubled(true);
    throw;
  }
  if (taken < events.size()) {
    const auto isRelease = [](const rt::MouseEventToInject& e) {
      return e.message == rt::msg::kLButtonUp || e.message == rt::msg::kRButtonUp;
    };
    troubled(std::any_of(events.begin() + static_cast<std::ptrdiff_t>(taken), events.end(), isRelease));
  }
}

void modMouse::TellHoldState() {
  bool holding = false;
  rt::ScreenPoint pointer;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    holding = phase_ == Phase::Holding;
    if (observer_ == nullptr || holding == toldHolding_) return;
    toldHolding_ = holding;
    pointer = lastPointer_;
  }
  if (holding)
    observer_->HoldStarted(pointer);
  else
    observer_->HoldEnded();
}

void modMouse::TellHoldStateLater() {
  platform_.pump.Post([this] { TellHoldState(); });
}

void modMouse::TellPointerLater() {
  // One update waits in the queue at a time, with the newest point: the badge follows the
  // pointer as fast as the loop runs, and a burst of moves costs one repaint.
  if (observer_ == nullptr || pointerTellPosted_) return;
  pointerTellPosted_ = true;
  platform_.pump.Post([this] {
    rt::ScreenPoint pointer;
    {
      std::lock_guard<std::mutex> lock(mutex_);
      pointerTellPosted_ = false;
      if (observer_ == nullptr || !toldHolding_ || phase_ != Phase::Holding) return;
      pointer = lastPointer_;
    }
    observer_->PointerMoved(pointer);
  });
}

void modMouse::WakeTheLoop() {
  platform_.pump.Post([] {});
}
