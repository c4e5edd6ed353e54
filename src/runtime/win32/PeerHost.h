// What the peers of the main window's controls need from the window that holds them.
#pragma once
#include <windows.h>

#include <string>

#include "runtime/UnhandledFailure.h"
#include "runtime/controls/Form.h"
#include "runtime/controls/ShownLook.h"
#include "runtime/win32/AccessibleAnnotations.h"

namespace win32 {

class PeerHost {
 public:
  virtual rt::Form& HostedForm() = 0;
  virtual rt::UnhandledFailureSink& Failures() = 0;
  virtual int Dpi() const = 0;
  // The control's own font, or the form's when it has none.
  virtual HFONT FontFor(const rt::Control& control) = 0;
  virtual HBRUSH BrushFor(rt::OleColor color) = 0;
  // What the control shows under the user's current display settings.
  virtual rt::ShownLook LookOf(const rt::Control& control) = 0;
  // A control moved or changed size: frames carry their controls along, so all move.
  virtual void LayOutControls() = 0;
  // A control that may hold the focus is being hidden or disabled.
  virtual void MoveFocusAwayFrom(HWND window) = 0;
  // For what a control's window class does not tell screen readers itself.
  virtual AccessibleAnnotations& Annotations() = 0;
  // What a screen reader names a push button's action, in the user's language.
  virtual const std::wstring& PressActionName() const = 0;

 protected:
  ~PeerHost() = default;
};

}  // namespace win32
