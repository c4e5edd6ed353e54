#include "autodrag/modMouse.h"

#include <algorithm>
#include <cstdlib>
#include <limits>
#include <utility>

namespace {
constexpr int kHcAction = 0;

// The first button release among the events, 0 if none.
std::uint32_t ReleaseIn(std::vector<rt::MouseEventToInject>::const_iterator from,
                        std::vector<rt::MouseEventToInject>::const_iterator to) {
  for (auto e = from; e != to; ++e)
    if (e->message == rt::msg::kLButtonUp || e->message == rt::msg::kRButtonUp) return e->message;
  return 0;
}
}  // namespace

// Lock discipline: the public calls take the lock; the hook's decisions (Decide and what
// it calls) and the helpers named in the header as such run with it held. Nothing injects,
// installs or removes a hook, or tells the observer while holding it.

modMouse::modMouse(rt::Platform& platform) : platform_(platform) {
  platform_.mouse.SetHookLostHandler([this] { OnHookLost(); });
}

modMouse::~modMouse() { platform_.mouse.SetHookLostHandler({}); }

void modMouse::StartMouseHook() {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    startOn_ = true;
    phase_ = Phase::Waiting;
    heldButton_ = rt::HeldButton::Primary;
    candidate_.reset();
    latchPressDown_ = false;
    lastPress_.reset();
    pressOnOwnUi_ = false;
    trayIconPressed_ = false;
    bouncing_ = false;
    giveUpAsked_ = false;
  }
  // Put in afresh at every Start, even when the latch has it in: Windows may have dropped it.
  InstallHook();
}

void modMouse::InstallHook() {
  // Asked here, on the window's thread: the shell may be slow to answer, and the hook
  // must never wait for it.
  const std::optional<rt::ScreenRect> trayIcon = locateTrayIcon_ ? locateTrayIcon_() : std::nullopt;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    trayIcon_ = trayIcon;
  }
  // The old hook goes first: its thread is gone before the new one starts.
  hook_.Remove();
  hook_ = MouseHook(platform_.mouse, [this](int code, std::uintptr_t message, const rt::LowLevelMouseEvent& event) {
    return MouseHookProc(code, message, event);
  });
  lastHandle_ = hook_.Handle();
}

void modMouse::StopMouseHook() {
  bool keepHook = false;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    startOn_ = false;
    keepHook = latch_.holdTime.has_value();
  }
  if (!keepHook) hook_.Remove();
  LetGo();
  std::lock_guard<std::mutex> lock(mutex_);
  AfterHold();
}

void modMouse::SetLatch(Latch latch) {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    latch_ = latch;
    if (startOn_) return;  // the Start's drag goes on as it is; its stop leaves the latch watching
  }
  if (!latch.holdTime) {
    hook_.Remove();
    LetGo();
    return;
  }
  if (!hook_.Installed()) InstallHook();
  std::lock_guard<std::mutex> lock(mutex_);
  if (phase_ != Phase::Holding) AfterHold();
}

void modMouse::Close() {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    latch_ = Latch{};
  }
  StopMouseHook();
}

void modMouse::OnHookLost() {
  if (!hook_.Installed()) return;
  std::unique_lock<std::mutex> lock(mutex_);
  if (phase_ == Phase::Waiting || phase_ == Phase::Watching) {
    // Nothing was held: at worst a click went through as an ordinary click. The hook
    // goes back in and auto-drag (or the latch) carries on.
    candidate_.reset();
    lock.unlock();
    InstallHook();
    if (hook_.Installed()) return;
    // Windows would not take it back: rather than read "on" with no hook, end and say so.
    lock.lock();
    trouble_ = Trouble::HookLost;
    WakeTheLoop();
    return;
  }
  if (phase_ != Phase::Holding) return;
  // The drop may have gone by unseen: what the user holds is no longer known. The
  // controller gives up, which puts things back, and says why; a latch watches again
  // with the hook put back.
  trouble_ = Trouble::HookLost;
  hookWanted_ = true;
  WakeTheLoop();
  AskLatchAttention();
}

void modMouse::AfterHold() {
  // Given up while the latched press is still down: its release has nothing left to let
  // go of, and no application should see a release it never saw pressed.
  if (latchPressDown_) strayRelease_ = HeldUp();
  bouncing_ = false;
  latchPressDown_ = false;
  if (startOn_ || !latch_.holdTime) {
    phase_ = Phase::Dropped;
    return;
  }
  phase_ = Phase::Watching;
  heldButton_ = rt::HeldButton::Primary;
  giveUpAsked_ = false;
}

bool modMouse::LatchOn() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return latch_.holdTime.has_value();
}

bool modMouse::HoldingButton() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return phase_ == Phase::Holding;
}

bool modMouse::LatchedHold() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return phase_ == Phase::Holding && !startOn_;
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
  if (strayRelease_ != 0 && IsStrayRelease(message)) return Verdict::Swallow;
  switch (phase_) {
    case Phase::Waiting: return WhileWaiting(message, event);
    case Phase::Holding: return WhileHolding(message, event);
    case Phase::Dropped: return Verdict::PassOn;
    case Phase::Watching: return WhileWatching(message, event);
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
  if (message == HeldDown()) {
    // The button is already down for the user; this press only says what its release will mean.
    pressOnOwnUi_ = IsOwnUiAt(event.at);
    bouncing_ = !pressOnOwnUi_ && IsBounce(event);
    return Verdict::Swallow;
  }
  if (message != HeldUp()) {
    if (message == rt::msg::kMouseMove) TellPointerLater();
    return Verdict::PassOn;
  }
  if (std::exchange(latchPressDown_, false)) {
    // The latched press's own release is the latch's pick-up: a quick second tap from
    // here is a bounce, as after a pick-up click.
    pickUp_.time = event.time;
    return Verdict::Swallow;
  }
  if (std::exchange(bouncing_, false)) return Verdict::Swallow;
  if (std::exchange(pressOnOwnUi_, false) || IsOwnUiAt(event.at)) {
    giveUpAsked_ = true;
    WakeTheLoop();
    AskLatchAttention();
    return Verdict::Swallow;
  }
  // The drop: the user's own release lets go, where and when they let go.
  if (startOn_) CountRelease();
  AfterHold();
  TellHoldStateLater();
  WakeTheLoop();
  return Verdict::PassOn;
}

bool modMouse::IsStrayRelease(std::uint32_t message) {
  const std::uint32_t itsPress = strayRelease_ == rt::msg::kRButtonUp ? rt::msg::kRButtonDown : rt::msg::kLButtonDown;
  if (message != strayRelease_ && message != itsPress) return false;
  // A new press of that button means its release was missed; either way, it is settled.
  strayRelease_ = 0;
  return message != itsPress;
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

std::uint32_t modMouse::HeldDown() const {
  return heldButton_ == rt::HeldButton::Secondary ? rt::msg::kRButtonDown : rt::msg::kLButtonDown;
}

std::uint32_t modMouse::HeldUp() const {
  return heldButton_ == rt::HeldButton::Secondary ? rt::msg::kRButtonUp : rt::msg::kLButtonUp;
}

std::uint32_t modMouse::HeldUpToInject() {
  const bool deviceRight = platform_.mouse.ButtonsSwapped() != (heldButton_ == rt::HeldButton::Secondary);
  return deviceRight ? rt::msg::kRButtonUp : rt::msg::kLButtonUp;
}

void modMouse::ReleaseLeftButton() { LetGo(); }

std::vector<rt::MouseEventToInject> modMouse::EndHold(bool putBack) {
  std::lock_guard<std::mutex> lock(mutex_);
  std::vector<rt::MouseEventToInject> events;
  if (phase_ == Phase::Holding) {
    const std::uint32_t release = HeldUpToInject();
    const rt::ScreenPoint userHasIt = lastPointer_;
    AfterHold();
    if (putBack) {
      events.push_back({release, pickUp_.at, 0});
      events.push_back({rt::msg::kMouseMove, userHasIt, 0});
    } else {
      events.push_back({release, std::nullopt, 0});
    }
  } else if (owedRelease_ != 0 && !putBack) {
    events.push_back({owedRelease_, std::nullopt, 0});
  }
  if (!putBack) owedRelease_ = 0;
  return events;
}

void modMouse::GiveUp() {
  const std::vector<rt::MouseEventToInject> events = EndHold(true);
  if (!events.empty()) Inject(events);
  TellHoldState();
  bool reinstall = false;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    reinstall = std::exchange(hookWanted_, false) && phase_ == Phase::Watching;
  }
  if (reinstall) InstallHook();
}

void modMouse::LetGo() {
  const std::vector<rt::MouseEventToInject> events = EndHold(false);
  if (!events.empty()) Inject(events);
  TellHoldState();
}

void modMouse::Inject(const std::vector<rt::MouseEventToInject>& events) {
  std::size_t taken = 0;
  const auto troubled = [this](std::uint32_t owed) {
    std::lock_guard<std::mutex> lock(mutex_);
    if (owedRelease_ == 0) owedRelease_ = owed;
    trouble_ = Trouble::InjectionRefused;
    WakeTheLoop();
    AskLatchAttention();
  };
  try {
    taken = platform_.mouse.Inject(events, kInjectedTag);
  } catch (...) {
    troubled(ReleaseIn(events.begin(), events.end()));
    throw;
  }
  if (taken < events.size()) troubled(ReleaseIn(events.begin() + static_cast<std::ptrdiff_t>(taken), events.end()));
}

void modMouse::TellHoldState() {
  enum class Tell { Nothing, Started, Ended } tell = Tell::Nothing;
  rt::ScreenPoint pointer;
  rt::HeldButton button = rt::HeldButton::Primary;
  {
    std::lock_guard<std::mutex> lock(mutex_);
    if (observer_ == nullptr) return;
    if (phase_ == Phase::Holding) {
      if (told_ == Told::Holding) return;
      told_ = Told::Holding;
      tell = Tell::Started;
      pointer = lastPointer_;
      button = heldButton_;
    } else if (told_ != Told::Nothing && !(told_ == Told::Filling && candidate_)) {
      // A fill still going on stays; a hold over, or a fill given up, ends.
      told_ = Told::Nothing;
      tell = Tell::Ended;
    }
  }
  if (tell == Tell::Started) observer_->HoldStarted(pointer, button);
  if (tell == Tell::Ended) observer_->HoldEnded();
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
      if (observer_ == nullptr || told_ != Told::Holding || phase_ != Phase::Holding) return;
      pointer = lastPointer_;
    }
    observer_->PointerMoved(pointer);
  });
}

void modMouse::WakeTheLoop() {
  platform_.pump.Post([] {});
}
