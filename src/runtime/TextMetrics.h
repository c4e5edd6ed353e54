// How much room a caption takes: what lets the window give a longer translation the width
// it needs instead of cutting it off.
#pragma once
#include <string>

#include "runtime/Types.h"
#include "runtime/controls/Control.h"

namespace rt {

class TextMetrics {
 public:
  virtual ~TextMetrics() = default;
  // The width, in twips, a control of that kind needs to show the caption whole on one
  // line in that font: a check box's includes its box.
  virtual int CaptionWidth(ControlKind kind, const std::wstring& caption, const Font& font) = 0;
  // The height, in twips, the caption takes wrapped at word breaks within a control of that
  // kind and width, in that font.
  virtual int CaptionHeight(ControlKind kind, const std::wstring& caption, const Font& font, int width) = 0;
};

}  // namespace rt
