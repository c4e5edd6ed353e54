// The catalogue for the unit tests: the same texts the executable carries, from the same
// files, and text widths that a test can set where it needs a long caption.
#pragma once
#include <map>
#include <string>

#include "runtime/TextMetrics.h"
#include "runtime/Texts.h"

namespace fake {

class CatalogueTexts : public rt::TextSource {
 public:
  std::optional<std::wstring> Find(rt::Language language, rt::TextId id) const override;
};

// The English catalogue, for a unit that only needs some words to speak.
const rt::Texts& English();

// Every character as wide as an average one of the window's font, unless a test says
// otherwise for a caption; a check box adds its box.
class FakeTextMetrics : public rt::TextMetrics {
 public:
  static constexpr int kTwipsPerCharacter = 75;
  static constexpr int kCheckBoxBeside = 300;
  static constexpr int kTwipsPerLine = 195;
  int CaptionWidth(rt::ControlKind kind, const std::wstring& caption, const rt::Font& font) override;
  // As many lines as the width takes to hold the caption's width.
  int CaptionHeight(rt::ControlKind kind, const std::wstring& caption, const rt::Font& font, int width) override;
  rt::Font MessageFont() override { return messageFont; }
  Room WorkArea() override { return workArea; }
  void OnTextSizeChanged(std::function<void()> changed) override { textSizeChanged = std::move(changed); }
  // The user's text size, as Windows would announce it: every caption measures as much larger.
  void SetTextSize(double percent) {
    messageFont.points = 9.0 * percent / 100;
    if (textSizeChanged) textSizeChanged();
  }
  std::map<std::wstring, int> widths;
  rt::Font messageFont{L"Segoe UI", 9.0, false, 0};
  // 1366 x 768 at 96 DPI, less a taskbar 40 pixels high.
  Room workArea{1366 * 15, 728 * 15};
  std::function<void()> textSizeChanged;
};

}  // namespace fake
