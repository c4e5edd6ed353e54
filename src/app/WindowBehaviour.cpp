// How the main window reacts after start-up: minimising takes it into the tray, closing
// takes the tray icon and the mouse hook away and ends the program, and the pointer goes
// back to the arrow over the background and the frames.
#include "app/ErrorReport.h"
#include "app/Form1.h"
#include "app/Product.h"
#include "runtime/Waiting.h"

namespace {
constexpr std::int32_t kBalloonSeconds = 5;
}  // namespace

void Form1::Form_Resize() {
  if (Me.WindowState() != rt::windowstate::kMinimized) return;
  if (globals_.HiddenInTray) {
    // Minimised while already in the tray (a start by the shortcut does that): the window
    // stays where it is, but in the normal state, so it comes back as a window.
    if (!Me.Visible()) Me.SetWindowState(rt::windowstate::kNormal);
    return;
  }
  Me.SetVisible(false);
  Me.SetWindowState(rt::windowstate::kNormal);
  globals_.HiddenInTray = true;
  cSysTray1.ShowBalloon(platform_.texts(rt::TextId::MinimizedBalloon), product::kDisplayName, kBalloonSeconds, true);
}

void Form1::Form_QueryUnload(int& /*cancel*/, int /*unloadMode*/) {
  NumberedStatements s(platform_.dialogs, platform_.texts, L"Form_QueryUnload");
  s.Run(100, [&] { cSysTray1.SetInTray(false); });
  s.Run(102, [&] { mouse_.Close(); });
  rt::PumpWaitingEventsTwice(s, platform_.pump, 104, 106);
}

void Form1::Form_Unload(int& /*cancel*/) {
  LetGoOfTheButton();
  platform_.app.EndProgram();
}

void Form1::LetGoOfTheButton() {
  // A button we keep down for the user must not outlive us: they would be left dragging
  // with no program to end it. What is held goes back where it was picked up, and a
  // put-back Windows refused before is tried once more.
  mouse_.Close();
}

void Form1::Form_MouseMove(const rt::MouseMoveArgs&) { SetPointerUnlessHourglass(rt::pointer::kDefault); }
void Form1::Frame1_MouseMove(const rt::MouseMoveArgs&) { SetPointerUnlessHourglass(rt::pointer::kDefault); }
void Form1::Frame2_MouseMove(const rt::MouseMoveArgs&) { SetPointerUnlessHourglass(rt::pointer::kDefault); }
// Over the two buttons the pointer is the hand, which start-up loads as the window's own.
void Form1::PushButton1_MouseMove(const rt::MouseMoveArgs&) { SetPointerUnlessHourglass(rt::pointer::kCustom); }
void Form1::PushButton2_MouseMove(const rt::MouseMoveArgs&) { SetPointerUnlessHourglass(rt::pointer::kCustom); }

// The click's release that follows works the icon; auto-drag must not take it as a pick-up.
void Form1::cSysTray1_MouseDown(std::int16_t button, std::int32_t /*id*/) {
  constexpr std::int16_t kLeftButton = 1;
  if (button == kLeftButton) mouse_.OwnTrayIconPressed();
}

// The left button released over the tray icon brings the window back; the right one opens
// the icon's menu (cSysTray1_ContextMenu).
void Form1::cSysTray1_MouseUp(std::int16_t button, std::int32_t /*id*/) {
  constexpr std::int16_t kLeftButton = 1;
  if (button == kLeftButton) BringWindowBack();
}

void Form1::BringWindowBack() {
  Me.SetVisible(true);
  Me.SetFocus();
  globals_.HiddenInTray = false;
}

// The screen locks, the machine goes to sleep, someone else takes the session: whatever
// auto-drag holds goes back as a Stop puts it back, so the user returns to an ordinary
// mouse and their first click is an ordinary click.
void Form1::Session_LeavingDesktop() {
  // What we inject now may be refused: a put-back refused waits for the return.
  mouse_.LeavingDesktop();
  // A latched hold gives up the same way: the Start/Stop button puts it back.
  if (autoDrag_.IsOn() || mouse_.LatchedHold()) PushButton2_Click();
}

// Back from the lock screen or sleep: a put-back Windows refused there is done now, before
// the user's first click, which is then an ordinary click.
void Form1::Session_ReturnedToDesktop() { mouse_.ReturnedToDesktop(); }

// Started again from the Start menu or the folder: the user is looking for the window.
void Form1::Session_StartedAgain() { BringWindowBack(); }

// The shell's word for the icon chosen: clicked, or picked with Enter or Space from the keyboard.
void Form1::cSysTray1_Select(std::int32_t /*id*/) { BringWindowBack(); }
