// The holding badge: a small layered window that lets every click through, never takes the
// focus, and has no taskbar button or Alt+Tab place. It shows a mouse whose held button is
// pressed (filling from the bottom while a press is held towards the latch) with an L or R
// under it, white with a dark rim so it reads on light and dark ground alike, in the
// highlight colours under high contrast, at the size of the pointer's monitor's DPI.
#pragma once
#include <windows.h>

#include "runtime/PointerBadge.h"
#include "runtime/win32/Handles.h"

namespace win32 {

class Win32PointerBadge : public rt::PointerBadge {
 public:
  // At 96 DPI: the badge's side, and how far it sits right of and below the pointer.
  static constexpr int kSide = 26;
  static constexpr int kOffsetX = 14;
  static constexpr int kOffsetY = 20;

  explicit Win32PointerBadge(HINSTANCE instance) : instance_(instance) {}
  Win32PointerBadge(const Win32PointerBadge&) = delete;
  Win32PointerBadge& operator=(const Win32PointerBadge&) = delete;

  void ShowBeside(rt::ScreenPoint pointer) override;
  void Hide() override;
  void SetLook(rt::HeldButton button, double filled) override;
  void SetLetters(const std::wstring& left, const std::wstring& right, const std::wstring& middle,
                  const rt::Font& font) override;

  HWND Window() const { return window_.get(); }
  // The device's button the badge shows pressed: the secondary one is the left when swapped.
  bool ShowsRightButton() const;
  double Filled() const { return filled_; }

 private:
  void Create();
  static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  void Paint(HWND window, HDC dc) const;

  HINSTANCE instance_;
  UniqueWindow window_;
  UINT dpi_ = USER_DEFAULT_SCREEN_DPI;
  rt::HeldButton button_ = rt::HeldButton::Primary;
  double filled_ = 1.0;
  std::wstring leftLetter_ = L"L";
  std::wstring rightLetter_ = L"R";
  std::wstring middleLetter_ = L"M";
  rt::Font letterFont_{L"Arial", 9.0, true, 1 /* DEFAULT_CHARSET */};
};

}  // namespace win32
