#include "runtime/win32/ChildPeer.h"

#include "runtime/Failure.h"
#include "runtime/controls/TabOrder.h"
#include "runtime/win32/DpiScaling.h"
#include "runtime/win32/Gdi.h"
#include "runtime/win32/VisualStyle.h"

namespace win32 {

void ChildPeer::Create(HWND parent, int id, HINSTANCE instance) {
  const WindowKind kind = Kind();
  DWORD style = kind.style | WS_CHILD;
  // A control in a frame lies under its frame, which comes first in the reading order: kept
  // clear of the windows above it, it would never show. The frame leaves it out instead.
  if (model_.Container() == nullptr) style |= WS_CLIPSIBLINGS;
  if (rt::IsTabStop(model_)) style |= WS_TABSTOP;
  if (HasFace() && model_.Visible()) style |= WS_VISIBLE;
  if (!model_.Enabled()) style |= WS_DISABLED;
  window_ = ::CreateWindowExW(kind.exStyle, kind.className, ModelCaption().c_str(), style, 0, 0, 0, 0, parent,
                              reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), instance, nullptr);
  if (window_ == nullptr) throw rt::Failure(L"The control " + model_.Name() + L" could not be made.");
  model_.SetHandle(reinterpret_cast<rt::WindowHandle>(window_));
  ApplyFont();
  LayOut();
  ApplyStyle();
  AfterCreate();
  model_.AttachPeer(this);
  attached_ = true;
}

void ChildPeer::Detach() {
  if (attached_) {
    model_.AttachPeer(nullptr);
    model_.SetHandle(0);
  }
  attached_ = false;
  window_ = nullptr;
}

void ChildPeer::LayOut() {
  const RECT r = PixelRect(BoundsInClient(model_), host_.Dpi());
  ::SetWindowPos(window_, nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top, SWP_NOZORDER | SWP_NOACTIVATE);
}

void ChildPeer::ApplyFont() {
  ::SendMessageW(window_, WM_SETFONT, reinterpret_cast<WPARAM>(host_.FontFor(model_)), TRUE);
}

void ChildPeer::SystemLookChanged() {
  if (window_ == nullptr) return;
  ApplyStyle();
}

void ChildPeer::ApplyStyle() {
  if (!StyleHidesColours()) return;
  const bool off = !host_.LookOf(model_).systemStyle;
  if (off == styleOff_) return;
  styleOff_ = off;
  // Without its style the control is drawn the classic way, which takes our colours.
  if (off)
    TurnVisualStyleOff(window_);
  else
    TurnVisualStyleOn(window_);
}

HBRUSH ChildPeer::OnCtlColor(HDC dc) {
  const rt::ShownLook look = host_.LookOf(model_);
  ::SetTextColor(dc, ToColorRef(look.text));
  ::SetBkColor(dc, ToColorRef(look.back));
  return host_.BrushFor(look.back);
}

void ChildPeer::OnChanged(rt::Control&, rt::Property property) {
  if (window_ == nullptr) return;
  const bool hadFocus = ::GetFocus() == window_;
  switch (property) {
    case rt::Property::Caption:
      ShowCaption(ModelCaption());
      break;
    case rt::Property::Visible:
      if (!HasFace()) break;
      ::ShowWindow(window_, model_.Visible() ? SW_SHOWNA : SW_HIDE);
      if (hadFocus && !model_.Visible()) host_.MoveFocusAwayFrom(window_);
      // The frame above a hidden control does not learn that the patch is its own again.
      if (!model_.Visible() && model_.Container() != nullptr) Repaint();
      break;
    case rt::Property::Enabled:
      ::EnableWindow(window_, model_.Enabled() ? TRUE : FALSE);
      if (hadFocus && !model_.Enabled()) host_.MoveFocusAwayFrom(window_);
      break;
    case rt::Property::BackColor:
    case rt::Property::ForeColor:
      Repaint();
      break;
    case rt::Property::Skinned:
      ApplyStyle();
      Repaint();
      break;
    case rt::Property::Font:
      ApplyFont();
      LayOut();
      break;
    case rt::Property::Bounds:
      host_.LayOutControls();
      break;
    default:
      OnOwnPropertyChanged(property);
      break;
  }
}

void ChildPeer::ShowCaption(const std::wstring& caption) {
  ::SetWindowTextW(window_, caption.c_str());
  Repaint();
}

const std::wstring& ChildPeer::ModelCaption() const {
  static const std::wstring kNone;
  const auto* captioned = dynamic_cast<const rt::CaptionedControl*>(&model_);
  return captioned != nullptr ? captioned->Caption() : kNone;
}

void ChildPeer::Repaint() const {
  // Whatever lies on this control (a label on a frame) shows its colours too, so the
  // whole patch of the parent is painted again, children included.
  RECT area{};
  ::GetWindowRect(window_, &area);
  HWND parent = ::GetParent(window_);
  ::MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&area), 2);
  ::RedrawWindow(parent, &area, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

void ChildPeer::LetGoOfTheMouse() const {
  if (::GetCapture() == window_) ::ReleaseCapture();
}

}  // namespace win32
