// A small badge beside the pointer that says a button is held for the user, or is being
// held towards the latch. It never takes the focus or a click and has no place in the taskbar.
#pragma once
#include <string>

#include "runtime/MouseInput.h"
#include "runtime/Types.h"

namespace rt {

// The user's buttons as they name them: the primary one (left, unless swapped), the other
// one, and the middle one (the wheel, pressed).
enum class HeldButton { Primary, Secondary, Middle };

class PointerBadge {
 public:
  virtual ~PointerBadge() = default;
  // Shows the badge a little below and to the right of the pointer, or moves it there.
  virtual void ShowBeside(ScreenPoint pointer) = 0;
  virtual void Hide() = 0;
  // What the badge shows from now on: which button, and how far the press has filled
  // towards the latch (1: held).
  virtual void SetLook(HeldButton button, double filled) = 0;
  // The letters under the mouse for its left, right and middle button, as the user's
  // language names them, and the face that has their characters.
  virtual void SetLetters(const std::wstring& left, const std::wstring& right, const std::wstring& middle,
                          const Font& font) = 0;
};

}  // namespace rt
