#include "runtime/controls/TabOrder.h"

#include <algorithm>

namespace rt {

std::vector<Control*> ReadingOrder(const Form& form) {
  std::vector<Control*> order(form.Controls().begin(), form.Controls().end());
  std::stable_sort(order.begin(), order.end(),
                   [](const Control* a, const Control* b) { return a->TabIndex() < b->TabIndex(); });
  return order;
}

bool IsTabStop(const Control& control) {
  switch (control.Kind()) {
    case ControlKind::PushButton:
    case ControlKind::CheckBox:
    case ControlKind::OptionButton:
    case ControlKind::TextBox:
    case ControlKind::Slider:
    case ControlKind::ShortcutBox:
      return control.TabStop();
    default:
      return false;  // frames, labels and the tray control never hold the focus
  }
}

std::vector<Control*> TabOrder(const Form& form) {
  std::vector<Control*> stops;
  for (Control* control : ReadingOrder(form))
    if (IsTabStop(*control) && control->Visible() && control->Enabled()) stops.push_back(control);
  return stops;
}

}  // namespace rt
