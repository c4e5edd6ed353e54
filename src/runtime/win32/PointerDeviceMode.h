// Whether the mouse that moves the pointer reports moves (a mouse, a touchpad) or places
// (a pen tablet, a virtual machine's or a remote desktop's pointer), as raw input tells.
// A low-level hook cannot see it, and it matters while the hook holds moves back: Windows
// then keeps the pointer still and a mouse's reports are that still point plus each move.
#pragma once
#include <windows.h>

#include "runtime/MouseInput.h"
#include "runtime/win32/Handles.h"

namespace win32 {

class PointerDeviceMode {
 public:
  explicit PointerDeviceMode(HINSTANCE instance);
  PointerDeviceMode(const PointerDeviceMode&) = delete;
  PointerDeviceMode& operator=(const PointerDeviceMode&) = delete;
  ~PointerDeviceMode() { StopListening(); }

  // Raw mouse input reaches us only while we listen: from the hook's start to its end.
  void Listen();
  void StopListening();
  rt::PointerReports Mode() const { return underWine_ ? rt::PointerReports::Places : mode_; }

  // What one raw mouse report says, for the adapter tests.
  static rt::PointerReports ModeOf(const RAWMOUSE& report, rt::PointerReports before);

 private:
  static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  void OnRawInput(HRAWINPUT input);

  UniqueWindow window_;
  bool listening_ = false;
  // Wine on X takes the pointer's place from the X server for every event, whatever the
  // device: its hook reports are always places, though its raw input says "moves".
  bool underWine_ = false;
  rt::PointerReports mode_ = rt::PointerReports::Unknown;
};

}  // namespace win32
