// Measures captions with the fonts the window will draw them in, at the screen's DPI.
#pragma once
#include <windows.h>

#include "runtime/TextMetrics.h"

namespace win32 {

class Win32TextMetrics : public rt::TextMetrics {
 public:
  int CaptionWidth(rt::ControlKind kind, const std::wstring& caption, const rt::Font& font) override;
  int CaptionHeight(rt::ControlKind kind, const std::wstring& caption, const rt::Font& font, int width) override;
};

}  // namespace win32
