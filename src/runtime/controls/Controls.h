// The simple controls of the model: push button, check box, option button, frame, label,
// text box, slider, shortcut box, press area and list box.
#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "runtime/MouseInput.h"

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

  // The button Enter clicks wherever the focus is (unless on another button), and the one
  // Escape clicks, as on every dialog.
  bool Default() const { return default_; }
  void SetDefault(bool d) { default_ = d; }
  bool Cancel() const { return cancel_; }
  void SetCancel(bool c) { cancel_ = c; }

 private:
  ButtonLook look_;
  bool default_ = false;
  bool cancel_ = false;
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
  // True: an "&" in the caption marks the letter that, with Alt, moves the focus to the
  // control after the label; false: "&" is shown as it is.
  bool UseMnemonic() const { return useMnemonic_; }
  void SetUseMnemonic(bool use) { useMnemonic_ = use; }
  // True: a caption longer than the label goes on at the next line; false: it is cut off.
  // Given before the window is made.
  bool WordWrap() const { return wordWrap_; }
  void SetWordWrap(bool wrap) { wordWrap_ = wrap; }

 protected:
  void OnCaptionChanged() override { Change.Raise(); }

 private:
  bool useMnemonic_ = false;
  bool wordWrap_ = false;
};

class TextBox : public CaptionedControl {  // the caption is the text
 public:
  explicit TextBox(std::wstring name) : CaptionedControl(ControlKind::TextBox, std::move(name)) {}
};

// A slider with tick marks: the user drags its thumb or moves it with the arrow keys, and
// each change of value, by the user or by the program, raises Change.
class Slider : public Control {
 public:
  explicit Slider(std::wstring name) : Control(ControlKind::Slider, std::move(name)) {}
  int Min() const { return min_; }
  int Max() const { return max_; }
  // A tick every this much; the arrow keys move by SmallChange, Page Up and Down by LargeChange.
  int TickEvery() const { return tickEvery_; }
  int SmallChange() const { return smallChange_; }
  int LargeChange() const { return largeChange_; }
  void SetRange(int min, int max, int tickEvery, int smallChange, int largeChange) {
    min_ = min;
    max_ = max;
    tickEvery_ = tickEvery;
    smallChange_ = smallChange;
    largeChange_ = largeChange;
    Notify(Property::Range);
    SetValue(value_);
  }
  // Where a thumb the user drags may stop: on whole multiples of this from Min.
  int DraggedStep() const { return draggedStep_; }
  void SetDraggedStep(int step) { draggedStep_ = step > 0 ? step : 1; }
  // The user dragged the thumb here: it stops on the nearest step.
  void DragTo(int v) {
    const int fromMin = v - min_;
    SetValue(min_ + (fromMin + (fromMin >= 0 ? draggedStep_ / 2 : -draggedStep_ / 2)) / draggedStep_ * draggedStep_);
  }
  int Value() const { return value_; }
  // Kept within the range.
  void SetValue(int v) {
    v = v < min_ ? min_ : v > max_ ? max_ : v;
    if (v == value_) return;
    value_ = v;
    Notify(Property::Value);
    Change.Raise();
  }
  Event<> Change;

 private:
  int min_ = 0, max_ = 10, tickEvery_ = 1, smallChange_ = 1, largeChange_ = 2, draggedStep_ = 1, value_ = 0;
};

// A key the user pressed with the modifiers then down.
struct KeyChord {
  // The virtual-key code: 'A'..'Z', '0'..'9', 0x70.. for F1, 8 for Backspace, 0x2E for Delete...
  std::uint32_t key = 0;
  bool win = false;
  bool ctrl = false;
  bool alt = false;
  bool shift = false;
  bool operator==(const KeyChord&) const = default;
};

// A box that shows a key combination and reports the keys pressed in it, instead of
// typing them; the program decides what the caption then reads.
class ShortcutBox : public CaptionedControl {
 public:
  explicit ShortcutBox(std::wstring name) : CaptionedControl(ControlKind::ShortcutBox, std::move(name)) {}
  Event<KeyChord> KeyPressed;
  // Whether the box has the keyboard focus; the backend tells it as the focus comes and goes.
  bool Focused() const { return focused_; }
  void SetFocusedBySystem(bool focused) { focused_ = focused; }

 private:
  bool focused_ = false;
};

// A button of the mouse pressed or let go in a press area, with where and when.
struct PressArgs {
  // 1 left, 2 right, 4 middle, as the button arguments of mouse events are.
  int button = 0;
  ScreenPoint at;
  // Milliseconds on the system's tick count, as the mouse hook's event times.
  std::uint32_t time = 0;
};

// A patch of the window that only reports presses and releases of any mouse button,
// showing its caption inside.
class PressArea : public CaptionedControl {
 public:
  explicit PressArea(std::wstring name) : CaptionedControl(ControlKind::PressArea, std::move(name)) {}
  Event<PressArgs> Pressed;
  Event<PressArgs> Released;
};

// A list of texts, one of which the user may select; Change follows every change of the
// selection, by the user or by the program.
class ListBox : public Control {
 public:
  static constexpr int kNone = -1;
  explicit ListBox(std::wstring name) : Control(ControlKind::ListBox, std::move(name)) {}
  const std::vector<std::wstring>& Items() const { return items_; }
  // The selection goes with a new list.
  void SetItems(std::vector<std::wstring> items) {
    items_ = std::move(items);
    Notify(Property::Items);
    const int selected = selected_;
    selected_ = kNone;
    if (selected != kNone) Change.Raise();
  }
  int Selected() const { return selected_; }
  // An index past the list selects nothing.
  void SetSelected(int index) {
    if (index < 0 || index >= static_cast<int>(items_.size())) index = kNone;
    if (index == selected_) return;
    selected_ = index;
    Notify(Property::Value);
    Change.Raise();
  }
  Event<> Change;

 private:
  std::vector<std::wstring> items_;
  int selected_ = kNone;
};

}  // namespace rt
