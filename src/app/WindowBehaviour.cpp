#include "app/WindowBehaviour.h"

#include "app/ErrorReport.h"
#include "app/Product.h"
#include "runtime/Waiting.h"

namespace {
constexpr std::int32_t kBalloonSeconds = 5;
constexpr std::int16_t kLeftButton = 1;
}  // namespace

void WindowBehaviour::Resize() {
  rt::Form& me = p_.window;
  if (me.WindowState() != rt::windowstate::kMinimized) return;
  if (p_.globals.HiddenInTray) {
    // Minimised while already in the tray (a start by the shortcut does that): the window
    // stays where it is, but in the normal state, so it comes back as a window.
    if (!me.Visible()) me.SetWindowState(rt::windowstate::kNormal);
    return;
  }
  me.SetVisible(false);
  me.SetWindowState(rt::windowstate::kNormal);
  p_.globals.HiddenInTray = true;
  p_.tray.ShowBalloon(p_.platform.texts(rt::TextId::MinimizedBalloon), product::kDisplayName, kBalloonSeconds, true);
}

void WindowBehaviour::QueryUnload() {
  NumberedStatements s(p_.platform.dialogs, p_.platform.texts, L"Form_QueryUnload");
  s.Run(100, [&] { p_.tray.SetInTray(false); });
  s.Run(102, [&] { p_.mouse.Close(); });
  rt::PumpWaitingEventsTwice(s, p_.platform.pump, 104, 106);
}

void WindowBehaviour::Unload() {
  LetGoOfTheButton();
  p_.platform.app.EndProgram();
}

void WindowBehaviour::LetGoOfTheButton() {
  // A button we keep down for the user must not outlive us: they would be left dragging
  // with no program to end it. What is held goes back where it was picked up, and a
  // put-back Windows refused before is tried once more.
  p_.mouse.Close();
}

void WindowBehaviour::SetPointer(int shape) {
  if (p_.window.MousePointer() != rt::pointer::kHourglass) p_.window.SetMousePointer(shape);
}

// The click's release that follows works the icon; auto-drag must not take it as a pick-up.
void WindowBehaviour::TrayMouseDown(std::int16_t button) {
  if (button == kLeftButton) p_.mouse.OwnTrayIconPressed();
}

// The left button released over the tray icon brings the window back; the right one opens
// the icon's menu.
void WindowBehaviour::TrayMouseUp(std::int16_t button) {
  if (button == kLeftButton) BringWindowBack();
}

void WindowBehaviour::BringWindowBack() {
  p_.window.SetVisible(true);
  p_.window.SetFocus();
  p_.globals.HiddenInTray = false;
}

// The screen locks, the machine goes to sleep, someone else takes the session: whatever
// auto-drag holds goes back as a Stop puts it back, so the user returns to an ordinary
// mouse and their first click is an ordinary click.
void WindowBehaviour::LeavingDesktop() {
  // What we inject now may be refused: a put-back refused waits for the return.
  p_.mouse.LeavingDesktop();
  // A latched hold gives up the same way: the Start/Stop button puts it back.
  if (p_.drag.IsOn() || p_.mouse.LatchedHold()) p_.startOrStop();
}

// Back from the lock screen or sleep: a put-back Windows refused there is done now, before
// the user's first click, which is then an ordinary click.
void WindowBehaviour::ReturnedToDesktop() { p_.mouse.ReturnedToDesktop(); }
