#include "runtime/win32/Win32TextMetrics.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "runtime/TextSize.h"
#include "runtime/Twips.h"
#include "runtime/win32/DpiScaling.h"
#include "runtime/win32/GdiCache.h"
#include "runtime/win32/Gdi.h"
#include "runtime/win32/SystemLook.h"

namespace win32 {
namespace {

// A check box draws its box, then a gap, then the caption; a focus mark around the caption
// needs a pixel on either side. At 96 DPI; scaled with the DPI.
constexpr int kCheckBoxBeside = 13 + 6;
constexpr int kCaptionSlack = 3;

// The caption measured on the screen in the font at the system's DPI, wrapped within
// `widthPixels` at word breaks, or on one line when that is 0.
RECT MeasuredCaption(const std::wstring& caption, const rt::Font& font, int dpi, int widthPixels) {
  RECT box{0, 0, widthPixels, 0};
  HDC screen = ::GetDC(nullptr);
  if (screen == nullptr) return box;
  const LOGFONTW logFont = LogFontFor(font, dpi);
  UniqueFont made(::CreateFontIndirectW(&logFont));
  HGDIOBJ before = ::SelectObject(screen, made.get());
  ::DrawTextW(screen, caption.c_str(), static_cast<int>(caption.size()), &box,
              DT_CALCRECT | DT_NOPREFIX | (widthPixels > 0 ? DT_WORDBREAK : DT_SINGLELINE));
  ::SelectObject(screen, before);
  ::ReleaseDC(nullptr, screen);
  return box;
}

int CheckBoxBeside(rt::ControlKind kind, int dpi) {
  return kind == rt::ControlKind::CheckBox || kind == rt::ControlKind::OptionButton
             ? ::MulDiv(kCheckBoxBeside, dpi, kDefaultDpi)
             : 0;
}

// Up to the next whole twip, so that the way back to pixels never loses one.
int ToTwips(int pixels, int dpi) { return (pixels * 1440 + dpi - 1) / dpi; }

}  // namespace

int Win32TextMetrics::CaptionWidth(rt::ControlKind kind, const std::wstring& caption, const rt::Font& font) {
  const int dpi = DpiOfWindow(nullptr);
  const RECT box = MeasuredCaption(caption, font, dpi, 0);
  const int pixels = box.right - box.left + ::MulDiv(kCaptionSlack, dpi, kDefaultDpi) + CheckBoxBeside(kind, dpi);
  return ToTwips(pixels, dpi);
}

int Win32TextMetrics::CaptionHeight(rt::ControlKind kind, const std::wstring& caption, const rt::Font& font,
                                    int width) {
  const int dpi = DpiOfWindow(nullptr);
  const int textPixels =
      rt::TwipsToPixels(width, dpi) - CheckBoxBeside(kind, dpi) - ::MulDiv(kCaptionSlack, dpi, kDefaultDpi);
  const RECT box = MeasuredCaption(caption, font, dpi, std::max(textPixels, 1));
  // A check box keeps a pixel above and below its text for the focus mark.
  return ToTwips(box.bottom - box.top + ::MulDiv(2, dpi, kDefaultDpi), dpi);
}

rt::Font Win32TextMetrics::MessageFont() {
  NONCLIENTMETRICSW metrics{};
  metrics.cbSize = sizeof(metrics);
  if (!::SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0))
    return rt::Font{L"Segoe UI", rt::kDefaultMessagePoints, false, 0};
  const LOGFONTW& font = metrics.lfMessageFont;
  // Given at the system's DPI; a positive height is the cell's, near enough the character's.
  const double points = std::abs(font.lfHeight) * 72.0 / SystemDpi();
  return rt::Font{font.lfFaceName, static_cast<double>(std::lround(points * 4)) / 4, font.lfWeight >= FW_BOLD,
                  font.lfCharSet};
}

rt::TextMetrics::Room Win32TextMetrics::WorkArea() {
  RECT work{};
  if (!::SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0)) return Room{};
  const int dpi = SystemDpi();
  return Room{(work.right - work.left) * 1440 / dpi, (work.bottom - work.top) * 1440 / dpi};
}

void Win32TextMetrics::OnTextSizeChanged(std::function<void()> changed) {
  last_ = MessageFont();
  changed_ = std::move(changed);
}

void Win32TextMetrics::SettingChanged() {
  const rt::Font now = MessageFont();
  if (now == last_) return;
  last_ = now;
  if (changed_) changed_();
}

}  // namespace win32
