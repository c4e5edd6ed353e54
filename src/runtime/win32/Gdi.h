// Owning wrappers for the GDI objects the window creates (fonts, brushes) and the scoped
// uses of a device context, plus the translation of the model's colours.
#pragma once
#include <windows.h>

#include <memory>
#include <type_traits>

#include "runtime/Types.h"

namespace win32 {

struct GdiObjectCloser {
  void operator()(HGDIOBJ object) const noexcept { ::DeleteObject(object); }
};

using UniqueFont = std::unique_ptr<std::remove_pointer_t<HFONT>, GdiObjectCloser>;
using UniqueBrush = std::unique_ptr<std::remove_pointer_t<HBRUSH>, GdiObjectCloser>;

// Selects an object into a DC for one scope and puts the previous one back.
class SelectedObject {
 public:
  SelectedObject(HDC dc, HGDIOBJ object) : dc_(dc), previous_(::SelectObject(dc, object)) {}
  SelectedObject(const SelectedObject&) = delete;
  SelectedObject& operator=(const SelectedObject&) = delete;
  ~SelectedObject() { ::SelectObject(dc_, previous_); }

 private:
  HDC dc_;
  HGDIOBJ previous_;
};

// A window's DC for measuring, released on every path out of the scope.
class WindowDc {
 public:
  explicit WindowDc(HWND window) : window_(window), dc_(::GetDC(window)) {}
  WindowDc(const WindowDc&) = delete;
  WindowDc& operator=(const WindowDc&) = delete;
  ~WindowDc() {
    if (dc_ != nullptr) ::ReleaseDC(window_, dc_);
  }
  HDC get() const { return dc_; }

 private:
  HWND window_;
  HDC dc_;
};

// The model keeps colours the OLE way: high bit set means a system colour index in the
// low byte, anything else is 0x00BBGGRR, which is what a COLORREF is.
inline COLORREF ToColorRef(rt::OleColor color) {
  if (rt::IsSystemColor(color)) return ::GetSysColor(static_cast<int>(color & 0xFFu));
  return static_cast<COLORREF>(color & 0x00FFFFFFu);
}

}  // namespace win32
