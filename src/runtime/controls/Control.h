// The control model: the properties the program reads and writes, and their events.
// A backend mirrors the model into real windows through a ControlPeer; the unit tests
// run on the model alone.
#pragma once
#include <string>

#include "runtime/Types.h"
#include "runtime/controls/Event.h"

namespace rt {

enum class ControlKind {
  Form,
  PushButton,
  CheckBox,
  OptionButton,
  Frame,
  Label,
  TextBox,
  UserControl,
  Component,
  Slider,
  ShortcutBox,
  PressArea,
  ListBox
};

// The controls whose background is plain colour behind their caption: what a skin or a
// change of the window's colour scheme recolours along with the window.
constexpr bool HasPlainBackground(ControlKind kind) {
  return kind == ControlKind::Frame || kind == ControlKind::Label || kind == ControlKind::CheckBox ||
         kind == ControlKind::OptionButton;
}

enum class Property {
  Caption,
  Value,
  Visible,
  Enabled,
  BackColor,
  ForeColor,
  Font,
  Bounds,
  WindowState,
  MousePointer,
  MouseIcon,
  Icon,
  Focus,
  Look,
  Skinned,
  Range,
  Items
};

class Control;

// Told of every property change so a real window can follow it.
class ControlPeer {
 public:
  virtual ~ControlPeer() = default;
  virtual void OnChanged(Control& control, Property property) = 0;
};

struct TwipsRect {
  int left = 0, top = 0, width = 0, height = 0;
  bool operator==(const TwipsRect&) const = default;
};

class Control {
 public:
  Control(ControlKind kind, std::wstring name) : kind_(kind), name_(std::move(name)) {}
  Control(const Control&) = delete;
  Control& operator=(const Control&) = delete;
  virtual ~Control() = default;

  ControlKind Kind() const { return kind_; }
  const std::wstring& Name() const { return name_; }

  // Frames hold controls; everything else sits on the form (container nullptr).
  Control* Container() const { return container_; }
  void SetContainer(Control* container) { container_ = container; }

  const TwipsRect& Bounds() const { return bounds_; }
  void SetBounds(TwipsRect r) { Assign(bounds_, r, Property::Bounds); }
  int TabIndex() const { return tabIndex_; }
  void SetTabIndex(int i) { tabIndex_ = i; }
  // False keeps the Tab key from stopping at a control that could otherwise take the focus.
  bool TabStop() const { return tabStop_; }
  void SetTabStop(bool s) { tabStop_ = s; }

  // The real window, once a backend has made one (0 in the unit tests unless they set one).
  WindowHandle Handle() const { return handle_; }
  void SetHandle(WindowHandle h) { handle_ = h; }

  bool Visible() const { return visible_; }
  virtual void SetVisible(bool v) { Assign(visible_, v, Property::Visible); }
  bool Enabled() const { return enabled_; }
  void SetEnabled(bool v) { Assign(enabled_, v, Property::Enabled); }

  OleColor BackColor() const { return backColor_; }
  void SetBackColor(OleColor c) { Assign(backColor_, c, Property::BackColor); }
  OleColor ForeColor() const { return foreColor_; }
  void SetForeColor(OleColor c) { Assign(foreColor_, c, Property::ForeColor); }
  // Controls without a font of their own use the form's (an empty name means "inherit").
  const Font& OwnFont() const { return font_; }
  void SetFont(Font f) { Assign(font_, std::move(f), Property::Font); }
  // Set while a skin dresses the control: its colours are the skin's, and the system's
  // visual style, which would paint over them, steps aside.
  bool Skinned() const { return skinned_; }
  void SetSkinned(bool s) { Assign(skinned_, s, Property::Skinned); }

  void AttachPeer(ControlPeer* peer) { peer_ = peer; }

 protected:
  void Notify(Property p) {
    if (peer_) peer_->OnChanged(*this, p);
  }
  template <typename T>
  void Assign(T& field, T value, Property p) {
    if (field == value) return;
    field = std::move(value);
    Notify(p);
  }

 private:
  ControlKind kind_;
  std::wstring name_;
  Control* container_ = nullptr;
  TwipsRect bounds_;
  int tabIndex_ = 0;
  bool tabStop_ = true;
  WindowHandle handle_ = 0;
  bool visible_ = true;
  bool enabled_ = true;
  OleColor backColor_ = kWhite;
  OleColor foreColor_ = kButtonText;
  Font font_;
  bool skinned_ = false;
  ControlPeer* peer_ = nullptr;
};

// Pointer-move event arguments: button state, shift state, x, y (twips).
struct MouseMoveArgs {
  int button = 0;
  int shift = 0;
  float x = 0;
  float y = 0;
};

class CaptionedControl : public Control {
 public:
  using Control::Control;
  const std::wstring& Caption() const { return caption_; }
  void SetCaption(std::wstring c) {
    if (caption_ == c) return;
    caption_ = std::move(c);
    Notify(Property::Caption);
    OnCaptionChanged();
  }

 protected:
  // After a real change, once the window shows the new caption.
  virtual void OnCaptionChanged() {}

 private:
  std::wstring caption_;
};

}  // namespace rt
