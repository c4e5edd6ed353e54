#include "runtime/win32/DpiScaling.h"

#include "runtime/Twips.h"

namespace win32 {
namespace {

using GetDpiForWindowFn = UINT(WINAPI*)(HWND);
using AdjustWindowRectExForDpiFn = BOOL(WINAPI*)(LPRECT, DWORD, BOOL, DWORD, UINT);

template <typename Fn>
Fn User32Function(const char* name) {
  HMODULE user32 = ::GetModuleHandleW(L"user32.dll");
  if (user32 == nullptr) return nullptr;
  return reinterpret_cast<Fn>(reinterpret_cast<void*>(::GetProcAddress(user32, name)));
}

}  // namespace

int DpiOfWindow(HWND window) {
  static const auto getDpiForWindow = User32Function<GetDpiForWindowFn>("GetDpiForWindow");
  if (getDpiForWindow != nullptr) {
    const UINT dpi = getDpiForWindow(window);
    if (dpi != 0) return static_cast<int>(dpi);
  }
  HDC screen = ::GetDC(nullptr);
  if (screen == nullptr) return kDefaultDpi;
  const int dpi = ::GetDeviceCaps(screen, LOGPIXELSY);
  ::ReleaseDC(nullptr, screen);
  return dpi > 0 ? dpi : kDefaultDpi;
}

SIZE WindowSizeForClient(int width, int height, DWORD style, DWORD exStyle, int dpi) {
  static const auto adjustForDpi = User32Function<AdjustWindowRectExForDpiFn>("AdjustWindowRectExForDpi");
  RECT rect{0, 0, width, height};
  if (adjustForDpi == nullptr || !adjustForDpi(&rect, style, FALSE, exStyle, static_cast<UINT>(dpi)))
    ::AdjustWindowRectEx(&rect, style, FALSE, exStyle);
  return SIZE{rect.right - rect.left, rect.bottom - rect.top};
}

RECT PixelRect(const rt::TwipsRect& twips, int dpi) {
  return RECT{rt::TwipsToPixels(twips.left, dpi), rt::TwipsToPixels(twips.top, dpi),
              rt::TwipsToPixels(twips.left + twips.width, dpi), rt::TwipsToPixels(twips.top + twips.height, dpi)};
}

rt::TwipsRect BoundsInClient(const rt::Control& control) {
  rt::TwipsRect bounds = control.Bounds();
  for (const rt::Control* container = control.Container(); container != nullptr; container = container->Container()) {
    bounds.left += container->Bounds().left;
    bounds.top += container->Bounds().top;
  }
  return bounds;
}

}  // namespace win32
