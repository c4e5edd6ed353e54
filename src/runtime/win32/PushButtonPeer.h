// A push button of the model as a real, owner-drawn BUTTON: the keyboard, the focus and
// screen readers work as for any button; the face is drawn from the model's look, with
// the hover the button tracks itself.
#pragma once
#include <windows.h>

#include <optional>

#include "runtime/controls/Controls.h"
#include "runtime/win32/ChildPeer.h"
#include "runtime/win32/WindowSubclass.h"

namespace win32 {

class PushButtonPeer final : public ChildPeer, private SubclassHandler {
 public:
  PushButtonPeer(PeerHost& host, rt::PushButton& button) : ChildPeer(host, button), button_(button) {}

  void OnCommand(WORD notification) override;
  bool OnDrawItem(const DRAWITEMSTRUCT& item) override;

 protected:
  WindowKind Kind() const override { return {L"BUTTON", BS_OWNERDRAW | WS_GROUP, 0}; }
  void AfterCreate() override;
  void OnOwnPropertyChanged(rt::Property property) override;

 private:
  std::optional<LRESULT> OnSubclassMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) override;
  void SetHover(HWND window, bool hover);

  rt::PushButton& button_;
  bool hover_ = false;
  std::optional<WindowSubclass> subclass_;
};

}  // namespace win32
