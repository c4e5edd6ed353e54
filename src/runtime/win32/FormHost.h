// The main window as Windows sees it: made from the form of the model and its controls,
// kept in step with the model's changes, and turning what the user does into the model's
// events. It decides nothing itself; the program's handlers do.
#pragma once
#include <windows.h>

#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include "runtime/UnhandledFailure.h"
#include "runtime/controls/Form.h"
#include "runtime/win32/ChildPeer.h"
#include "runtime/win32/DpiScaling.h"
#include "runtime/win32/FocusMemory.h"
#include "runtime/win32/GdiCache.h"
#include "runtime/win32/Handles.h"
#include "runtime/win32/PeerHost.h"
#include "runtime/win32/WindowIcons.h"

namespace win32 {

class FormHost final : public rt::ControlPeer, private PeerHost {
 public:
  // The main window ends the program when it closes. A dialog is owned by the main window,
  // has no minimise box, opens centred on the monitor the program names, and its close
  // box only asks the form, which hides it.
  struct Dialog {
    HWND owner = nullptr;
  };

  // Makes the window hidden; the program's Show makes it visible. fixedDpi lays it out at
  // that DPI whatever the monitor says (for tests); otherwise the window follows its own.
  // pressActionName is what a screen reader says pressing a push button does.
  FormHost(rt::Form& form, rt::UnhandledFailureSink& failures, HINSTANCE instance,
           std::optional<int> fixedDpi = std::nullopt, std::optional<Dialog> dialog = std::nullopt,
           std::wstring pressActionName = L"Press");
  FormHost(const FormHost&) = delete;
  FormHost& operator=(const FormHost&) = delete;
  ~FormHost() override;

  HWND MainWindow() const { return window_.get(); }
  // Waits for and dispatches messages until WM_QUIT; returns its exit code. Other windows'
  // dialog keys (a dialog's) are offered to alsoPreTranslate after this window's.
  int RunMessageLoop(std::function<bool(MSG&)> alsoPreTranslate = nullptr);
  // The dialog keys (Tab, Shift+Tab, Space, Enter) for the window's controls. Every message
  // loop of the thread offers its messages here first; true when the message was handled.
  bool PreTranslate(MSG& message);
  // The real window of one of the form's controls; nullptr when it has none.
  HWND WindowOf(const rt::Control& control) const;
  int Dpi() const override { return dpi_; }
  // Where the window learns whether high contrast is on: Windows by default; a test that
  // cannot switch the system's theme gives its own answer. Takes effect at once.
  void AskHighContrastWith(std::function<bool()> source);
  // Told of every WM_SETTINGCHANGE the window receives (the text size among them).
  void OnSettingChange(std::function<void()> changed) { settingChanged_ = std::move(changed); }

  void OnChanged(rt::Control& control, rt::Property property) override;

 private:
  rt::Form& HostedForm() override { return form_; }
  rt::UnhandledFailureSink& Failures() override { return failures_; }
  HFONT FontFor(const rt::Control& control) override;
  HBRUSH BrushFor(rt::OleColor color) override { return brushes_.Get(color); }
  rt::ShownLook LookOf(const rt::Control& control) override { return form_.ShownLookOf(control, highContrast_); }
  void LayOutControls() override;
  void MoveFocusAwayFrom(HWND window) override;
  AccessibleAnnotations& Annotations() override { return annotations_; }
  const std::wstring& PressActionName() const override { return pressActionName_; }

  static LRESULT CALLBACK WindowProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT HandleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  ChildPeer* PeerOf(HWND window) const;

  void CreateControls();
  void AddSystemMenuItems();
  // A dialog about to show: centred on the monitor of the window the form names, or of the pointer.
  void PlaceDialog();
  // Enter and Escape where no button has the focus: the form's default or cancel button.
  bool ClickButton(bool isDefault);
  // Sizes the window for the form's client area at the current DPI.
  void FitToForm(std::optional<POINT> topLeft);
  void ApplyVisibility();
  void ApplyWindowState();
  void ApplyIcon();
  void Activate();
  void PaintBackground(HDC dc);
  void OnSize(WPARAM kind);
  void OnDpiChanged(int dpi, const RECT& suggested);
  // High contrast or the system colours changed: everything is painted again at once.
  void SystemLookChanged();
  // Asks the program; true when the close went ahead.
  bool Close(int reason);
  void RaiseTaskbarCreated();
  void WindowDestroyed();

  rt::Form& form_;
  rt::UnhandledFailureSink& failures_;
  HINSTANCE instance_;
  std::optional<int> fixedDpi_;
  std::optional<Dialog> dialog_;
  std::wstring pressActionName_;
  int dpi_ = kDefaultDpi;
  UINT taskbarCreated_ = 0;
  std::function<bool()> highContrastSource_;
  std::function<void()> settingChanged_;
  bool highContrast_ = false;
  WindowIcons icons_;
  BrushCache brushes_;
  FontCache fonts_{kDefaultDpi};
  AccessibleAnnotations annotations_;
  std::vector<std::unique_ptr<ChildPeer>> peers_;  // in reading order
  FocusMemory focus_;
  // Size notices caused by our own calls are not the user's doing.
  int ownStateChanges_ = 0;
  bool closing_ = false;
  UniqueWindow window_;
};

}  // namespace win32

// The name the entry point knows the window by.
using FormHost = win32::FormHost;
