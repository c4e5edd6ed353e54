#include "runtime/win32/Win32PointerBadge.h"

#include <algorithm>
#include <memory>

#include "runtime/Failure.h"
#include "runtime/win32/Gdi.h"
#include "runtime/win32/SystemLook.h"
#include "runtime/win32/SystemMessage.h"

namespace win32 {
namespace {

constexpr wchar_t kWindowClass[] = L"Vornatic.HoldingBadge";
// Never drawn: the parts of the square outside the mouse are see-through.
constexpr COLORREF kSeeThrough = RGB(255, 0, 255);
constexpr COLORREF kRim = RGB(20, 24, 32);
constexpr COLORREF kBody = RGB(255, 255, 255);
constexpr COLORREF kPressed = RGB(7, 162, 254);  // the blue of our K

int Scaled(int value, UINT dpi) { return MulDiv(value, static_cast<int>(dpi), USER_DEFAULT_SCREEN_DPI); }

}  // namespace

void Win32PointerBadge::Create() {
  WNDCLASSEXW windowClass{};
  windowClass.cbSize = sizeof(windowClass);
  windowClass.lpfnWndProc = &Win32PointerBadge::WindowProc;
  windowClass.hInstance = instance_;
  windowClass.lpszClassName = kWindowClass;
  windowClass.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
  if (::RegisterClassExW(&windowClass) == 0 && ::GetLastError() != ERROR_CLASS_ALREADY_EXISTS)
    throw rt::Failure(SystemMessage(::GetLastError()));
  constexpr DWORD kExStyle = WS_EX_LAYERED | WS_EX_TRANSPARENT | WS_EX_NOACTIVATE | WS_EX_TOOLWINDOW | WS_EX_TOPMOST;
  window_.reset(::CreateWindowExW(kExStyle, kWindowClass, L"", WS_POPUP, 0, 0, kSide, kSide, nullptr, nullptr,
                                  instance_, nullptr));
  if (!window_) throw rt::Failure(SystemMessage(::GetLastError()));
  ::SetLayeredWindowAttributes(window_.get(), kSeeThrough, 255, LWA_COLORKEY);
  ::SetWindowLongPtrW(window_.get(), GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
}

void Win32PointerBadge::SetLook(rt::HeldButton button, double filled) {
  filled = std::clamp(filled, 0.0, 1.0);
  if (button == button_ && filled == filled_) return;
  button_ = button;
  filled_ = filled;
  if (window_) ::InvalidateRect(window_.get(), nullptr, TRUE);
}

bool Win32PointerBadge::ShowsRightButton() const {
  return (::GetSystemMetrics(SM_SWAPBUTTON) != 0) != (button_ == rt::HeldButton::Secondary);
}

void Win32PointerBadge::ShowBeside(rt::ScreenPoint pointer) {
  if (!window_) Create();
  // The badge takes the DPI of the monitor it is on, so it matches the pointer there; it
  // is placed at the DPI it had, and placed again if the move took it to another.
  const POINT at{pointer.x, pointer.y};
  UINT dpi = dpi_;
  for (int attempt = 0; attempt < 2; ++attempt) {
    const int side = Scaled(kSide, dpi);
    ::SetWindowPos(window_.get(), HWND_TOPMOST, at.x + Scaled(kOffsetX, dpi), at.y + Scaled(kOffsetY, dpi), side, side,
                   SWP_NOACTIVATE | SWP_SHOWWINDOW);
    const UINT there = ::GetDpiForWindow(window_.get());
    if (there == 0 || there == dpi) break;
    dpi = there;
  }
  dpi_ = dpi;
}

void Win32PointerBadge::Hide() {
  if (window_) ::ShowWindow(window_.get(), SW_HIDE);
}

void Win32PointerBadge::Paint(HWND window, HDC dc) const {
  RECT client{};
  ::GetClientRect(window, &client);
  const int side = client.right;
  const bool contrast = HighContrastOn();
  const COLORREF rim = contrast ? ::GetSysColor(COLOR_HIGHLIGHT) : kRim;
  const COLORREF body = contrast ? ::GetSysColor(COLOR_HIGHLIGHTTEXT) : kBody;
  const COLORREF pressed = contrast ? ::GetSysColor(COLOR_HIGHLIGHT) : kPressed;

  const UniqueBrush seeThrough(::CreateSolidBrush(kSeeThrough));
  ::FillRect(dc, &client, seeThrough.get());

  // A mouse seen from above: a rounded body, the held button pressed in (filled from the
  // bottom as far as the press has gone towards the latch), a line between the buttons,
  // and the button's letter below.
  const int pen = std::max(2, side / 12);
  const RECT mouse{side / 5, side / 12, side - side / 5, side - side / 12};
  const UniqueBrush bodyBrush(::CreateSolidBrush(body));
  const std::unique_ptr<std::remove_pointer_t<HPEN>, GdiObjectCloser> rimPen(::CreatePen(PS_SOLID, pen, rim));
  {
    const SelectedObject usePen(dc, rimPen.get());
    const SelectedObject useBrush(dc, bodyBrush.get());
    const int round = (mouse.right - mouse.left) / 2;
    ::RoundRect(dc, mouse.left, mouse.top, mouse.right, mouse.bottom, round, round);
  }
  const int middle = (mouse.left + mouse.right) / 2;
  const int buttonsBottom = mouse.top + (mouse.bottom - mouse.top) * 9 / 20;
  const bool wheel = button_ == rt::HeldButton::Middle;
  const bool right = !wheel && ShowsRightButton();
  // The middle button is the wheel between the two, pressed in the same way.
  const int wheelHalf = std::max(pen, static_cast<int>((mouse.right - mouse.left) / 8));
  RECT pressedButton = wheel   ? RECT{middle - wheelHalf, mouse.top + pen, middle + wheelHalf, buttonsBottom}
                       : right ? RECT{middle, mouse.top + pen, mouse.right - pen, buttonsBottom}
                               : RECT{mouse.left + pen, mouse.top + pen, middle, buttonsBottom};
  const RECT wheelOutline = pressedButton;
  pressedButton.top = pressedButton.bottom -
                      static_cast<LONG>((pressedButton.bottom - pressedButton.top) * filled_ + 0.5);
  const UniqueBrush pressedBrush(::CreateSolidBrush(pressed));
  {
    const SelectedObject usePen(dc, rimPen.get());
    const SelectedObject useBrush(dc, pressedBrush.get());
    const int round = (mouse.right - mouse.left) / 2;
    const std::unique_ptr<std::remove_pointer_t<HRGN>, GdiObjectCloser> inside(::CreateRoundRectRgn(
        mouse.left + pen, mouse.top + pen, mouse.right - pen + 1, mouse.bottom - pen + 1, round, round));
    ::SelectClipRgn(dc, inside.get());
    ::FillRect(dc, &pressedButton, pressedBrush.get());
    ::SelectClipRgn(dc, nullptr);
    if (wheel) {
      const UniqueBrush rimBrush(::CreateSolidBrush(rim));
      ::FrameRect(dc, &wheelOutline, rimBrush.get());
    } else {
      ::MoveToEx(dc, middle, mouse.top, nullptr);
      ::LineTo(dc, middle, buttonsBottom);
    }
    ::MoveToEx(dc, mouse.left, buttonsBottom, nullptr);
    ::LineTo(dc, mouse.right - pen, buttonsBottom);
  }
  const UniqueFont letterFont(::CreateFontW(-(mouse.bottom - buttonsBottom) * 3 / 4, 0, 0, 0, FW_BOLD, FALSE, FALSE,
                                            FALSE, static_cast<DWORD>(letterFont_.charset), OUT_DEFAULT_PRECIS,
                                            CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_SWISS,
                                            letterFont_.name.c_str()));
  const SelectedObject useFont(dc, letterFont.get());
  ::SetBkMode(dc, TRANSPARENT);
  ::SetTextColor(dc, rim);
  RECT letterBox{mouse.left, buttonsBottom, mouse.right, mouse.bottom - pen};
  const std::wstring& letter = wheel ? middleLetter_ : right ? rightLetter_ : leftLetter_;
  ::DrawTextW(dc, letter.c_str(), static_cast<int>(letter.size()), &letterBox,
              DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
}

void Win32PointerBadge::SetLetters(const std::wstring& left, const std::wstring& right, const std::wstring& middle,
                                   const rt::Font& font) {
  leftLetter_ = left;
  rightLetter_ = right;
  middleLetter_ = middle;
  letterFont_ = font;
  if (window_) ::InvalidateRect(window_.get(), nullptr, TRUE);
}

LRESULT CALLBACK Win32PointerBadge::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_NCHITTEST:
      return HTTRANSPARENT;  // every click goes to what lies below
    case WM_MOUSEACTIVATE:
      return MA_NOACTIVATE;
    case WM_PAINT: {
      PAINTSTRUCT paint{};
      const HDC dc = ::BeginPaint(window, &paint);
      if (const auto* self = reinterpret_cast<const Win32PointerBadge*>(::GetWindowLongPtrW(window, GWLP_USERDATA)))
        self->Paint(window, dc);
      ::EndPaint(window, &paint);
      return 0;
    }
    case WM_SETTINGCHANGE:
    case WM_SYSCOLORCHANGE:
      ::InvalidateRect(window, nullptr, TRUE);
      break;
    default:
      break;
  }
  return ::DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace win32
