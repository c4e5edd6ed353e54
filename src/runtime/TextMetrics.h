// How much room a caption takes, how large the user wants text, and how much room there is:
// what lets a window give a longer translation or a larger text the room it needs instead
// of cutting it off.
#pragma once
#include <functional>
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

  // The font Windows shows message and dialog text in, at the size the user chose (the
  // text size of the accessibility settings scales it).
  virtual Font MessageFont() = 0;
  // The room a window has on the primary monitor, in twips: its work area.
  struct Room {
    int width = 0, height = 0;
  };
  virtual Room WorkArea() = 0;
  // changed runs, on the window's thread, whenever the user changes the text size; one
  // listener, the program's, replaced by the next.
  virtual void OnTextSizeChanged(std::function<void()> changed) = 0;
};

}  // namespace rt
