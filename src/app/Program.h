// The whole program: its module state and its one window, wired to a platform. A backend
// builds one, gives the window its real peer, runs Load and shows the window.
#pragma once
#include "app/Form1.h"
#include "app/Globals.h"
#include "app/Product.h"
#include "autodrag/modMouse.h"
#include "runtime/Platform.h"
#include "runtime/UnhandledFailure.h"
#include "tray/SysTray.h"

class Program : public rt::UnhandledFailureSink {
 public:
  explicit Program(rt::Platform& platform, std::wstring displayName = product::kDisplayName);

  rt::Form& MainWindow() { return form1_.Me; }
  // The load handler, then the first show of the window.
  void Start();
  // A failure in a handler without the uniform report: say so in our words; the platform
  // then ends the program.
  void OnUnhandledFailure(const std::exception& failure) noexcept override;
  static std::wstring UnhandledFailureText(const rt::Texts& texts, const std::wstring& description);

  const Globals& State() const { return globals_; }
  Form1& Window() { return form1_; }
  modMouse& Mouse() { return mouse_; }

 private:
  Globals globals_;
  SysTray sysTray_;
  modMouse mouse_;
  Form1 form1_;
  rt::Platform& platform_;
};
