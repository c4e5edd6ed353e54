// The real window behind one control of the model: made from the model's current values,
// then kept in step with every property change the model reports. The window is a child
// of the main window, which destroys it along with itself.
#pragma once
#include <windows.h>

#include <string>

#include "runtime/controls/Control.h"
#include "runtime/win32/PeerHost.h"

namespace win32 {

class ChildPeer : public rt::ControlPeer {
 public:
  ChildPeer(PeerHost& host, rt::Control& model) : host_(host), model_(model) {}
  ChildPeer(const ChildPeer&) = delete;
  ChildPeer& operator=(const ChildPeer&) = delete;
  ~ChildPeer() override { Detach(); }

  // Makes the window with the given control id and starts following the model.
  void Create(HWND parent, int id, HINSTANCE instance);
  // Stops following the model; the main window is going or gone.
  void Detach();

  rt::Control& Model() const { return model_; }
  HWND Window() const { return window_; }

  // Places and sizes the window from the model's bounds at the host's DPI.
  virtual void LayOut();
  void ApplyFont();
  // The user's display settings changed: the look may be another now.
  void SystemLookChanged();

  // Messages the main window receives on behalf of this control.
  virtual void OnCommand(WORD /*notification*/) {}
  // A slider moved (WM_HSCROLL).
  virtual void OnScroll() {}
  virtual bool OnDrawItem(const DRAWITEMSTRUCT& /*item*/) { return false; }
  virtual HBRUSH OnCtlColor(HDC dc);

  void OnChanged(rt::Control& control, rt::Property property) override;

 protected:
  struct WindowKind {
    const wchar_t* className;
    DWORD style;  // besides WS_CHILD, WS_VISIBLE and WS_DISABLED, which follow the model
    DWORD exStyle;
  };
  virtual WindowKind Kind() const = 0;
  // False for a control that is never seen whatever its Visible says (the tray control).
  virtual bool HasFace() const { return true; }
  // True for a control the visual style paints itself, text included, whatever colours
  // WM_CTLCOLOR... gives it: such a control leaves the style while its look says so.
  virtual bool StyleHidesColours() const { return false; }
  // The window exists and has its font and place.
  virtual void AfterCreate() {}
  // A change the common handling does not cover (value, look).
  virtual void OnOwnPropertyChanged(rt::Property /*property*/) {}
  virtual void ShowCaption(const std::wstring& caption);
  const std::wstring& ModelCaption() const;
  void Repaint() const;
  // A button tells of a click while it still holds the mouse. The program's click handler
  // may run for a long time (the auto-drag loop pumps inside it), and meanwhile the user's
  // clicks elsewhere must reach the windows under the pointer, not this hidden button.
  void LetGoOfTheMouse() const;
  void ApplyStyle();

  PeerHost& host_;

 private:
  rt::Control& model_;
  HWND window_ = nullptr;
  bool attached_ = false;
  bool styleOff_ = false;
};

}  // namespace win32
