// The Start/Stop button: one Start gives one drag. The first counted release picks up
// (we press the left button for the user), the second drops (we release it). The start
// path stays inside this handler, pumping events, until the drag has ended; a second
// click on the button runs nested inside that pump and takes the stop path.
#include <chrono>

#include "app/ErrorReport.h"
#include "app/Form1.h"

namespace {
constexpr const wchar_t* kStartCaption = L"Start Autodrag";
constexpr const wchar_t* kStopCaption = L"Stop Autodrag";
constexpr const wchar_t* kOnStatus = L"Auto-drag is on.";
constexpr const wchar_t* kOffStatus = L"Auto-drag is off.";
constexpr const wchar_t* kLabel = L"in Vornix2021/08/31.Form1.PushButton2_Click ";
constexpr const wchar_t* kHookFailedText =
    L"Auto-drag could not start: Windows did not let Vornatic watch the mouse.\r\n\r\n"
    L"No button has been pressed for you. Please try Start Autodrag again.";
constexpr const wchar_t* kOutOfReachText =
    L"Vornatic cannot drag in windows of programs that run as administrator, unless Vornatic runs as "
    L"administrator too.\r\n\r\nYour click went through as an ordinary click, and auto-drag is off.";
constexpr const wchar_t* kInjectionRefusedText =
    L"Windows did not let Vornatic press or release the mouse button for you, so auto-drag is off.\r\n\r\n"
    L"This happens on the secure desktop (the sign-in and password screens). Vornatic has let go of the "
    L"button; if something still seems held, click once.";

// One pass of the pump: whatever is waiting, and if nothing is, nothing.
constexpr std::chrono::milliseconds kNoWait{0};
}  // namespace

void Form1::PushButton2_Click() {
  NumberedStatements s(platform_.dialogs, kLabel);
  if (s.Test(100, [&] { return PushButton2.Caption() == kStartCaption; })) {
    s.Run(102, [&] { PushButton2.SetCaption(kStopCaption); });
    s.Run(104, [&] { Me.SetWindowState(rt::windowstate::kMinimized); });
    s.Run(106, [&] { Label1.SetCaption(kOnStatus); });
    s.Run(108, [&] { mouse_.ClickCount = 0; });
    s.Run(110, [&] { ButtonHeld = false; });
    s.Run(112, [&] { StopRequested = false; });
    s.Run(114, [&] { mouse_.StartMouseHook(); });
    // Without the hook no click can ever be counted: rather than show "on" while nothing
    // can happen, say so and go straight to the ending steps.
    const bool hooked = mouse_.MouseHookHandle != 0;
    if (!hooked) {
      platform_.dialogs.MessageBox(kHookFailedText, rt::mb::kOkOnly | rt::mb::kExclamation, globals_.AppTitle);
      StopRequested = true;
    }
    while (hooked) {
      // Blocks until something happens: every value tested below changes only inside a
      // handler that this pump dispatches.
      s.Run(116, [&] { platform_.pump.PumpEvents(std::nullopt); });
      if (s.Test(118, [&] { return mouse_.ClickCount == 1; })) {
        if (s.Test(120, [&] { return !ButtonHeld; })) {
          s.Run(122, [&] { mouse_.PressLeftButton(); });
          s.Run(124, [&] { ButtonHeld = true; });
        }
      } else if (s.Test(126, [&] { return mouse_.ClickCount > 1; })) {
        s.Run(128, [&] { mouse_.ReleaseLeftButton(); });
        s.Run(130, [&] { mouse_.ClickCount = 0; });
        s.Run(132, [&] { StopRequested = true; });
        s.Run(134, [&] { ButtonHeld = false; });
      }
      // Something that auto-drag cannot work around: end it rather than show "on" while
      // nothing can happen.
      if (mouse_.CurrentTrouble() != modMouse::Trouble::None) StopRequested = true;
      if (!s.Test(136, [&] { return !StopRequested; })) break;
    }
    s.Run(138, [&] {
      mouse_.StopMouseHook();
      ButtonHeld = mouse_.HoldingButton();
    });
    s.Run(140, [&] { PushButton2.SetCaption(kStartCaption); });
    s.Run(142, [&] { Label1.SetCaption(kOffStatus); });
    s.Run(144, [&] { Me.SetVisible(true); });
    s.Run(146, [&] { Me.SetFocus(); });
    s.Run(148, [&] { globals_.HiddenInTray = false; });
    if (const auto trouble = mouse_.CurrentTrouble(); trouble != modMouse::Trouble::None) {
      mouse_.ClearTrouble();
      platform_.dialogs.MessageBox(
          trouble == modMouse::Trouble::WindowOutOfReach ? kOutOfReachText : kInjectionRefusedText,
          rt::mb::kOkOnly | rt::mb::kExclamation, globals_.AppTitle);
    }
  } else {
    s.Run(150, [&] { StopRequested = true; });
    s.Run(152, [&] { platform_.pump.PumpEvents(kNoWait); });
    s.Run(154, [&] { platform_.pump.PumpEvents(kNoWait); });
    // Removing the hook lets go of our press and of anything held back: a stop must never
    // leave the button down in every program.
    s.Run(156, [&] {
      mouse_.StopMouseHook();
      ButtonHeld = mouse_.HoldingButton();
    });
  }
}

void Form1::PushButton1_MouseMove(rt::MouseMoveArgs&) { SetPointerUnlessHourglass(rt::pointer::kCustom); }

void Form1::PushButton2_MouseMove(rt::MouseMoveArgs&) { SetPointerUnlessHourglass(rt::pointer::kCustom); }
