#include "runtime/win32/OwnerDrawnButton.h"

#include <algorithm>

#include "runtime/win32/Gdi.h"

namespace win32 {
namespace {

void FillWith(HDC dc, const RECT& rect, COLORREF color) {
  ::SetDCBrushColor(dc, color);
  ::FillRect(dc, &rect, static_cast<HBRUSH>(::GetStockObject(DC_BRUSH)));
}

void FrameWith(HDC dc, RECT rect, COLORREF color, int thickness) {
  ::SetDCBrushColor(dc, color);
  for (int i = 0; i < thickness; ++i) {
    ::FrameRect(dc, &rect, static_cast<HBRUSH>(::GetStockObject(DC_BRUSH)));
    ::InflateRect(&rect, -1, -1);
  }
}

COLORREF FaceColor(const rt::ButtonLook& look, ButtonFaceState state) {
  if (state.disabled) return ToColorRef(look.face);
  if (state.pressed) return ToColorRef(look.pressed);
  if (state.hover) return ToColorRef(look.hover);
  return ToColorRef(look.face);
}

}  // namespace

ButtonFaceState FaceStateOf(const DRAWITEMSTRUCT& item, bool hover) {
  ButtonFaceState state;
  state.disabled = (item.itemState & ODS_DISABLED) != 0;
  state.pressed = (item.itemState & ODS_SELECTED) != 0;
  // Keyboard cues: a mouse user who has not touched the keyboard sees no focus mark.
  state.focused = (item.itemState & ODS_FOCUS) != 0 && (item.itemState & ODS_NOFOCUSRECT) == 0;
  state.hover = hover && !state.disabled;
  return state;
}

void PaintPushButton(HDC dc, RECT rect, const rt::ButtonLook& look, const std::wstring& caption, HFONT font,
                     ButtonFaceState state, int dpi) {
  const int line = std::max(1, dpi / 96);
  FillWith(dc, rect, FaceColor(look, state));
  if (state.focused)
    FrameWith(dc, rect, ToColorRef(look.focus), 2 * line);
  else if (state.isDefault && !state.disabled)
    FrameWith(dc, rect, ToColorRef(look.focus), line);
  else if (state.hover && look.hoverBorder)
    FrameWith(dc, rect, ToColorRef(*look.hoverBorder), 2 * line);
  else
    FrameWith(dc, rect, ToColorRef(look.border), line);

  SelectedObject selected(dc, font);
  ::SetBkMode(dc, TRANSPARENT);
  ::SetTextColor(dc, state.disabled ? ::GetSysColor(COLOR_GRAYTEXT) : ToColorRef(look.text));
  RECT textArea = rect;
  if (state.pressed) ::OffsetRect(&textArea, line, line);
  ::DrawTextW(dc, caption.c_str(), static_cast<int>(caption.size()), &textArea,
              DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_END_ELLIPSIS);

  // The coloured frame alone can vanish against a skin's face or a theme's colours; the
  // system's focus rectangle inverts what lies under it, so it shows on any face.
  if (state.focused) {
    RECT focus = rect;
    ::InflateRect(&focus, -3 * line, -3 * line);
    ::SetTextColor(dc, RGB(0, 0, 0));
    ::SetBkColor(dc, RGB(255, 255, 255));
    ::DrawFocusRect(dc, &focus);
  }
}

}  // namespace win32
