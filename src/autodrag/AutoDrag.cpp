#include "autodrag/AutoDrag.h"

#include <optional>
#include <utility>

#include "runtime/Waiting.h"

AutoDrag::AutoDrag(Parts parts) : p_(parts) {
  p_.mouse.SetLatchAttention([this] { AttendToLatchedHold(); });
}

AutoDrag::~AutoDrag() { p_.mouse.SetLatchAttention({}); }

void AutoDrag::StartOrStop(rt::NumberedSteps& steps) {
  if (p_.mouse.LatchedHold()) {
    p_.mouse.GiveUp();
    SayWhatEndedIt();
    return;
  }
  if (steps.Test(100, [&] { return !IsOn(); }))
    Start(steps);
  else if (stopRequested_)
    startAgain_ = true;
  else
    Stop(steps);
}

void AutoDrag::Start(rt::NumberedSteps& s) {
  modMouse& mouse = p_.mouse;
  s.Run(102, [&] { p_.startStop.SetCaption(p_.texts(rt::TextId::StopAutodrag)); });
  s.Run(104, [&] { p_.window.SetWindowState(rt::windowstate::kMinimized); });
  s.Run(106, [&] { p_.status.SetCaption(p_.texts(rt::TextId::AutodragIsOn)); });
  s.Run(108, [&] { mouse.ResetClickCount(); });
  s.Run(110, [&] { buttonHeld_ = false; });
  s.Run(112, [&] { stopRequested_ = false; });
  s.Run(114, [&] { mouse.StartMouseHook(); });
  // Without the hook no click can ever be counted: rather than show "on" while nothing
  // can happen, say so and go straight to the ending steps.
  const bool hooked = mouse.MouseHookHandle() != 0;
  if (!hooked) {
    p_.dialogs.MessageBox(p_.texts.Format(rt::TextId::HookFailed, {{L"start", p_.texts(rt::TextId::StartAutodrag)}}),
                          rt::mb::kOkOnly | rt::mb::kExclamation, p_.messageTitle);
    stopRequested_ = true;
  }
  while (hooked) {
    // Blocks until something happens: every value tested below changes only inside a
    // handler that this pump dispatches.
    s.Run(116, [&] { p_.pump.PumpEvents(std::nullopt); });
    if (s.Test(118, [&] { return mouse.ClickCount() == 1; })) {
      if (s.Test(120, [&] { return !buttonHeld_; })) {
        s.Run(122, [&] { mouse.PressLeftButton(); });
        s.Run(124, [&] { buttonHeld_ = true; });
      }
    } else if (s.Test(126, [&] { return mouse.ClickCount() > 1; })) {
      s.Run(128, [&] { mouse.ReleaseLeftButton(); });
      s.Run(130, [&] { mouse.ResetClickCount(); });
      s.Run(132, [&] { stopRequested_ = true; });
      s.Run(134, [&] { buttonHeld_ = false; });
    }
    // Something that auto-drag cannot work around: end it rather than show "on" while
    // nothing can happen.
    if (mouse.CurrentTrouble() != modMouse::Trouble::None) stopRequested_ = true;
    // A click on our own window or tray icon while holding is the user giving up.
    if (mouse.GiveUpAsked()) stopRequested_ = true;
    if (!s.Test(136, [&] { return !stopRequested_; })) break;
  }
  // However the loop ends, a hold still on is the user giving up: the item goes back.
  s.Run(138, [&] {
    mouse.GiveUp();
    mouse.StopMouseHook();
    buttonHeld_ = mouse.HoldingButton();
  });
  s.Run(140, [&] { p_.startStop.SetCaption(p_.texts(rt::TextId::StartAutodrag)); });
  s.Run(142, [&] { p_.status.SetCaption(p_.texts(rt::TextId::AutodragIsOff)); });
  s.Run(144, [&] { p_.window.SetVisible(true); });
  s.Run(146, [&] { p_.window.SetFocus(); });
  s.Run(148, [&] { p_.hiddenInTray = false; });
  SayWhatEndedIt();
  if (std::exchange(startAgain_, false)) Start(s);
}

void AutoDrag::Stop(rt::NumberedSteps& s) {
  s.Run(150, [&] { stopRequested_ = true; });
  rt::PumpWaitingEventsTwice(s, p_.pump, 152, 154);
  // A stop never drops the item wherever the pointer happens to be: it goes back where it
  // was picked up, and the button is up in every program.
  s.Run(156, [&] {
    p_.mouse.GiveUp();
    p_.mouse.StopMouseHook();
    buttonHeld_ = p_.mouse.HoldingButton();
  });
}

void AutoDrag::SayWhatEndedIt() {
  const modMouse::Trouble trouble = p_.mouse.CurrentTrouble();
  if (trouble == modMouse::Trouble::None) return;
  p_.mouse.ClearTrouble();
  const rt::TextId text = trouble == modMouse::Trouble::WindowOutOfReach ? rt::TextId::WindowOutOfReach
                          : trouble == modMouse::Trouble::HookLost       ? rt::TextId::HookLost
                                                                         : rt::TextId::InjectionRefused;
  p_.dialogs.MessageBox(p_.texts.Format(text, {{L"start", p_.texts(rt::TextId::StartAutodrag)}}),
                        rt::mb::kOkOnly | rt::mb::kExclamation, p_.messageTitle);
}

void AutoDrag::AttendToLatchedHold() {
  if (IsOn()) return;
  if (p_.mouse.GiveUpAsked() || p_.mouse.CurrentTrouble() == modMouse::Trouble::HookLost) p_.mouse.GiveUp();
  SayWhatEndedIt();
}
