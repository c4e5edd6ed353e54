// How a push button of the model looks on the screen: its face, border and caption in the
// colours of its ButtonLook, in each of its states.
#pragma once
#include <windows.h>

#include <string>

#include "runtime/controls/Controls.h"

namespace win32 {

struct ButtonFaceState {
  bool hover = false;
  bool pressed = false;
  bool focused = false;
  bool disabled = false;
  // The dialog's default button while no other push button has the focus: Enter clicks it.
  bool isDefault = false;
};

// The state WM_DRAWITEM reports, with the hover the button tracks itself.
ButtonFaceState FaceStateOf(const DRAWITEMSTRUCT& item, bool hover);

void PaintPushButton(HDC dc, RECT rect, const rt::ButtonLook& look, const std::wstring& caption, HFONT font,
                     ButtonFaceState state, int dpi);

}  // namespace win32
