// The top-level window of the model. Its events are raised synchronously: setting the
// window state raises Resize before the setter returns, as the desktop runtime does.
#pragma once
#include <vector>

#include "runtime/Picture.h"
#include "runtime/controls/Control.h"
#include "runtime/controls/ShownLook.h"

namespace rt {

namespace windowstate {
constexpr int kNormal = 0;
constexpr int kMinimized = 1;
}  // namespace windowstate
namespace pointer {
constexpr int kDefault = 0;
constexpr int kHourglass = 11;
constexpr int kCustom = 99;
}  // namespace pointer
namespace closereason {
constexpr int kUser = 0;  // the close box, Alt+F4, the system menu, taskkill
constexpr int kCode = 1;
constexpr int kWindowsEnding = 2;  // logoff or shutdown
}  // namespace closereason

class Form : public CaptionedControl {
 public:
  explicit Form(std::wstring name) : CaptionedControl(ControlKind::Form, std::move(name)) {
    Control::SetVisible(false);
  }

  // The client area in twips, and the controls in the window's control order.
  int ClientWidth() const { return clientWidth_; }
  int ClientHeight() const { return clientHeight_; }
  // A window already made follows at once, its top left corner staying where it is.
  void SetClientSize(int w, int h) {
    if (w == clientWidth_ && h == clientHeight_) return;
    clientWidth_ = w;
    clientHeight_ = h;
    Notify(Property::Bounds);
  }
  void Add(Control& control) { controls_.push_back(&control); }
  const std::vector<Control*>& Controls() const { return controls_; }

  int WindowState() const { return windowState_; }
  // The program's change: the window follows, then Resize runs (once the window is shown).
  void SetWindowState(int state);
  // The user's change through the title bar or the taskbar: the window already follows.
  void WindowStateChangedBySystem(int state);

  void SetVisible(bool v) override;
  // The first show after the load handler; a state set to minimised while loading takes
  // effect here, so its Resize finds the window fully dressed (tray icon included).
  void Show();
  bool Shown() const { return shown_; }

  int MousePointer() const { return mousePointer_; }
  void SetMousePointer(int p) { Assign(mousePointer_, p, Property::MousePointer); }
  const PicturePtr& MouseIcon() const { return mouseIcon_; }
  void SetMouseIcon(PicturePtr p) { Assign(mouseIcon_, std::move(p), Property::MouseIcon); }
  const PicturePtr& Icon() const { return icon_; }
  void SetIcon(PicturePtr p) { Assign(icon_, std::move(p), Property::Icon); }

  // The program's rule for what each control shows; given before the window is made.
  void SetLookRule(LookRule rule) { lookRule_ = rule; }
  ShownLook ShownLookOf(const Control& control, bool highContrast) const {
    return lookRule_ != nullptr ? lookRule_(control, highContrast) : OwnLook(control);
  }

  // Asks the platform to give the window the input focus.
  void SetFocus() { Notify(Property::Focus); }

  // Commands of the program's own in the window's system menu, after the system's; the
  // item's id comes back with SystemMenuChosen. Given before the window is made.
  struct SystemMenuItem {
    int id = 0;
    std::wstring text;
    bool enabled = true;
  };
  void AddSystemMenuItem(int id, std::wstring text) { systemMenu_.push_back({id, std::move(text)}); }
  // A greyed item stays in the menu, where the user can see it is there but not for them;
  // the window asks this each time the menu opens.
  void SetSystemMenuItemEnabled(int id, bool enabled) {
    for (SystemMenuItem& item : systemMenu_)
      if (item.id == id) item.enabled = enabled;
  }
  const std::vector<SystemMenuItem>& SystemMenuItems() const { return systemMenu_; }
  Event<int> SystemMenuChosen;

  // A dialog shows centred on the monitor of this window, or of the pointer when 0.
  WindowHandle OpenNear() const { return openNear_; }
  void SetOpenNear(WindowHandle window) { openNear_ = window; }

  // A close request from the user or the system: QueryUnload, then Unload unless cancelled.
  // Returns true when the close went ahead.
  bool RequestClose(int reason);

  Event<> Resize;
  Event<int&, int> QueryUnload;  // cancel (in/out), close reason
  Event<int&> Unload;            // cancel (in/out)
  Event<MouseMoveArgs> MouseMove;

 private:
  int clientWidth_ = 0;
  int clientHeight_ = 0;
  std::vector<Control*> controls_;
  int windowState_ = windowstate::kNormal;
  int mousePointer_ = pointer::kDefault;
  PicturePtr mouseIcon_;
  PicturePtr icon_;
  bool shown_ = false;
  bool inFirstShow_ = false;
  bool hiddenInFirstShow_ = false;
  LookRule lookRule_ = nullptr;
  std::vector<SystemMenuItem> systemMenu_;
  WindowHandle openNear_ = 0;
};

}  // namespace rt
