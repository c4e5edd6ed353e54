#include "runtime/win32/PointerShape.h"

namespace win32 {

HCURSOR CursorFor(const rt::Form& form) {
  switch (form.MousePointer()) {
    case rt::pointer::kHourglass:
      return ::LoadCursorW(nullptr, IDC_WAIT);
    case rt::pointer::kCustom:
      if (form.MouseIcon()) return reinterpret_cast<HCURSOR>(form.MouseIcon()->Handle());
      return ::LoadCursorW(nullptr, IDC_ARROW);
    default:
      return ::LoadCursorW(nullptr, IDC_ARROW);
  }
}

void RefreshPointerOver(HWND window) {
  POINT at{};
  if (!::GetCursorPos(&at)) return;
  HWND under = ::WindowFromPoint(at);
  if (under == nullptr || (under != window && !::IsChild(window, under))) return;
  const LRESULT hit = ::SendMessageW(under, WM_NCHITTEST, 0, MAKELPARAM(at.x, at.y));
  ::SendMessageW(under, WM_SETCURSOR, reinterpret_cast<WPARAM>(under), MAKELPARAM(hit, WM_MOUSEMOVE));
}

}  // namespace win32
