// How the main window reacts after start-up: minimising takes it into the tray, closing
// takes the tray icon and the mouse hook away and ends the program, and the pointer goes
// back to the arrow over the background and the frames.
#include <chrono>

#include "app/ErrorReport.h"
#include "app/Form1.h"
#include "app/Product.h"

namespace {
constexpr const wchar_t* kBalloonText =
    L"has been minimized to the system tray.\r\nClick on the blue 'K' icon (K for Kestrova) to bring the software "
    L"back.";
constexpr std::int32_t kBalloonSeconds = 5;
constexpr const wchar_t* kQueryUnloadLabel = L"in Vornix2021/08/31.Form1.Form_QueryUnload ";
constexpr std::chrono::milliseconds kNoWait{0};
}  // namespace

void Form1::Form_Resize() {
  if (Me.WindowState() != rt::windowstate::kMinimized || globals_.HiddenInTray) return;
  Me.SetVisible(false);
  Me.SetWindowState(rt::windowstate::kNormal);
  globals_.HiddenInTray = true;
  cSysTray1.ShowBalloon(kBalloonText, product::kDisplayName, kBalloonSeconds, true);
}

void Form1::Form_QueryUnload(int& /*cancel*/, int& /*unloadMode*/) {
  NumberedStatements s(platform_.dialogs, kQueryUnloadLabel);
  s.Run(100, [&] { cSysTray1.SetInTray(false); });
  s.Run(102, [&] { mouse_.StopMouseHook(); });
  s.Run(104, [&] { platform_.pump.PumpEvents(kNoWait); });
  s.Run(106, [&] { platform_.pump.PumpEvents(kNoWait); });
}

void Form1::Form_Unload(int& /*cancel*/) {
  LetGoOfTheButton();
  platform_.app.EndProgram();
}

void Form1::LetGoOfTheButton() {
  // A press we injected must not outlive us: the user would be left dragging with no
  // program to end it. Input still held back is passed on for the same reason.
  mouse_.LetGo();
  ButtonHeld = false;
}

void Form1::Form_MouseMove(rt::MouseMoveArgs&) { SetPointerUnlessHourglass(rt::pointer::kDefault); }
void Form1::Frame1_MouseMove(rt::MouseMoveArgs&) { SetPointerUnlessHourglass(rt::pointer::kDefault); }
void Form1::Frame2_MouseMove(rt::MouseMoveArgs&) { SetPointerUnlessHourglass(rt::pointer::kDefault); }
