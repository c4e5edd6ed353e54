#include "runtime/win32/Win32TextMetrics.h"

#include "runtime/Twips.h"
#include "runtime/win32/DpiScaling.h"
#include "runtime/win32/GdiCache.h"
#include "runtime/win32/Gdi.h"

namespace win32 {
namespace {

// A check box draws its box, then a gap, then the caption; a focus mark around the caption
// needs a pixel on either side. At 96 DPI; scaled with the DPI.
constexpr int kCheckBoxBeside = 13 + 6;
constexpr int kCaptionSlack = 3;

}  // namespace

int Win32TextMetrics::CaptionWidth(rt::ControlKind kind, const std::wstring& caption, const rt::Font& font) {
  const int dpi = DpiOfWindow(nullptr);
  HDC screen = ::GetDC(nullptr);
  if (screen == nullptr) return 0;
  const LOGFONTW logFont = LogFontFor(font, dpi);
  UniqueFont made(::CreateFontIndirectW(&logFont));
  HGDIOBJ before = ::SelectObject(screen, made.get());
  RECT box{0, 0, 0, 0};
  ::DrawTextW(screen, caption.c_str(), static_cast<int>(caption.size()), &box,
              DT_CALCRECT | DT_SINGLELINE | DT_NOPREFIX);
  ::SelectObject(screen, before);
  ::ReleaseDC(nullptr, screen);
  int pixels = box.right - box.left + ::MulDiv(kCaptionSlack, dpi, kDefaultDpi);
  if (kind == rt::ControlKind::CheckBox || kind == rt::ControlKind::OptionButton)
    pixels += ::MulDiv(kCheckBoxBeside, dpi, kDefaultDpi);
  // Up to the next whole twip, so that the way back to pixels never loses one.
  return (pixels * 1440 + dpi - 1) / dpi;
}

}  // namespace win32
