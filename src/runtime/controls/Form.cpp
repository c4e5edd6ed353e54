#include "runtime/controls/Form.h"

namespace rt {

void Form::SetWindowState(int state) {
  if (state == windowState_) return;
  windowState_ = state;
  Notify(Property::WindowState);
  if (shown_) Resize.Raise();
}

void Form::WindowStateChangedBySystem(int state) {
  if (state == windowState_) return;
  windowState_ = state;
  Resize.Raise();
}

void Form::SetVisible(bool v) {
  if (inFirstShow_ && !v) hiddenInFirstShow_ = true;
  Control::SetVisible(v);
}

void Form::Show() {
  if (shown_) return;
  shown_ = true;
  if (windowState_ == windowstate::kMinimized) {
    // The window appears minimised and its Resize runs at once; a handler that takes it
    // into the tray leaves it hidden, so it never flashes up on the screen.
    inFirstShow_ = true;
    hiddenInFirstShow_ = false;
    Resize.Raise();
    inFirstShow_ = false;
    if (hiddenInFirstShow_) return;
  }
  SetVisible(true);
}

bool Form::RequestClose(int reason) {
  int cancel = 0;
  QueryUnload.Raise(cancel, reason);
  if (cancel != 0) return false;
  int unloadCancel = 0;
  Unload.Raise(unloadCancel);
  return unloadCancel == 0;
}

}  // namespace rt
