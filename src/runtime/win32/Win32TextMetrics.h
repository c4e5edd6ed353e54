// Measures captions with the fonts the window will draw them in, at the screen's DPI.
#pragma once
#include <windows.h>

#include "runtime/TextMetrics.h"

namespace win32 {

class Win32TextMetrics : public rt::TextMetrics {
 public:
  int CaptionWidth(rt::ControlKind kind, const std::wstring& caption, const rt::Font& font) override;
  int CaptionHeight(rt::ControlKind kind, const std::wstring& caption, const rt::Font& font, int width) override;
  rt::Font MessageFont() override;
  Room WorkArea() override;
  void OnTextSizeChanged(std::function<void()> changed) override;
  // Windows said a system setting changed: the listener hears of it when the message font did.
  void SettingChanged();

 private:
  std::function<void()> changed_;
  rt::Font last_;
};

}  // namespace win32
