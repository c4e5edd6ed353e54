#include "ui/Layout.h"

#include <cwchar>
#include <stdexcept>

namespace layout {

rt::Font WindowFont(rt::Language language) {
  switch (language) {
    case rt::Language::Japanese: return {L"Yu Gothic UI", kWindowFont.points, true, 128};            // SHIFTJIS_CHARSET
    case rt::Language::ChineseSimplified: return {L"Microsoft YaHei UI", kWindowFont.points, true, 134};  // GB2312
    default: return kWindowFont;
  }
}

rt::Font ButtonFont(rt::Language language) {
  rt::Font font = WindowFont(language);
  if (font == kWindowFont) return kButtonFont;
  font.points = kButtonFont.points;
  return font;
}

const ControlDesign& Find(const wchar_t* name) {
  for (const auto& design : kControls)
    if (std::wcscmp(design.name, name) == 0) return design;
  throw std::logic_error("control missing from the layout");
}

}  // namespace layout
