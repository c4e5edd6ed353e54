#include "ui/ReadableLook.h"

namespace ui {
namespace {

// The theme's button colours; under the pointer the border takes the theme's hot-light
// colour rather than the face changing, as a changed face would need its own text colour.
rt::ButtonLook HighContrastButton() {
  rt::ButtonLook look;
  look.face = look.hover = look.pressed = rt::kButtonFace;
  look.text = look.border = rt::kButtonText;
  look.hoverBorder = rt::kHotLight;
  look.focus = rt::kHighlight;
  return look;
}

}  // namespace

rt::ShownLook ReadableLook(const rt::Control& control, bool highContrast) {
  rt::ShownLook shown = rt::OwnLook(control);
  if (!highContrast) {
    shown.systemStyle = !control.Skinned();
    return shown;
  }
  shown.systemStyle = true;
  if (control.Kind() == rt::ControlKind::PushButton) {
    shown.button = HighContrastButton();
    shown.back = rt::kButtonFace;
    shown.text = rt::kButtonText;
  } else {
    // The window and everything that lies on it share one background.
    shown.back = rt::kWindowBack;
    shown.text = rt::kWindowText;
  }
  return shown;
}

}  // namespace ui
