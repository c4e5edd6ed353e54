// The simple controls of the model: push button, check box, option button, frame, label, text box.
#pragma once
#include <optional>

#include "runtime/controls/Control.h"

namespace rt {

// How a push button draws its states; a skin changes it, the layout gives the plain look.
struct ButtonLook {
  OleColor face = kWhite;
  OleColor hover = Rgb(229, 241, 251);
  OleColor pressed = Rgb(204, 228, 247);
  OleColor text = kButtonText;
  OleColor border = Rgb(173, 173, 173);
  OleColor focus = Rgb(0, 120, 215);
  // The border under the pointer; without one the border keeps its colour.
  std::optional<OleColor> hoverBorder = std::nullopt;
  bool operator==(const ButtonLook&) const = default;
};

class PushButton : public CaptionedControl {
 public:
  explicit PushButton(std::wstring name) : CaptionedControl(ControlKind::PushButton, std::move(name)) {}
  const ButtonLook& Look() const { return look_; }
  void SetLook(ButtonLook look) { Assign(look_, look, Property::Look); }

  Event<> Click;
  Event<MouseMoveArgs> MouseMove;
  void RaiseClick() { Click.Raise(); }
  void RaiseMouseMove(MouseMoveArgs a) { MouseMove.Raise(a); }

 private:
  ButtonLook look_;
};

// Check box and option button share the value rule: a change of value, by the user or by
// the program, raises Click; setting the value it already has raises nothing.
class ValueControl : public CaptionedControl {
 public:
  using CaptionedControl::CaptionedControl;
  int Value() const { return value_; }
  void SetValue(int v) {
    if (v == value_) return;
    value_ = v;
    Notify(Property::Value);
    Click.Raise();
  }
  Event<> Click;

 private:
  int value_ = 0;
};

class CheckBox : public ValueControl {
 public:
  explicit CheckBox(std::wstring name) : ValueControl(ControlKind::CheckBox, std::move(name)) {}
  // What a click of the user does: ticked becomes clear, anything else becomes ticked.
  void ToggleByUser() { SetValue(Value() == 1 ? 0 : 1); }
};

class OptionButton : public ValueControl {
 public:
  explicit OptionButton(std::wstring name) : ValueControl(ControlKind::OptionButton, std::move(name)) {}
};

class Frame : public CaptionedControl {
 public:
  explicit Frame(std::wstring name) : CaptionedControl(ControlKind::Frame, std::move(name)) {}
  Event<MouseMoveArgs> MouseMove;
};

class Label : public CaptionedControl {
 public:
  explicit Label(std::wstring name) : CaptionedControl(ControlKind::Label, std::move(name)) {}
  // The caption changed, whoever changed it.
  Event<> Change;

 protected:
  void OnCaptionChanged() override { Change.Raise(); }
};

class TextBox : public CaptionedControl {  // the caption is the text
 public:
  explicit TextBox(std::wstring name) : CaptionedControl(ControlKind::TextBox, std::move(name)) {}
};

}  // namespace rt
