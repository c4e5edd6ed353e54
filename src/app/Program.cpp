#include "app/Program.h"

#include "app/Product.h"
#include "runtime/Failure.h"

Program::Program(rt::Platform& platform)
    : sysTray(platform.windowProcs), mouse(platform), form1(platform, globals, mouse, sysTray), platform_(platform) {}

void Program::Start() {
  form1.Form_Load();
  form1.Me.Show();
}

std::wstring Program::UnhandledFailureText(const std::wstring& description) {
  return std::wstring(product::kDisplayName) + L" ran into a problem it cannot recover from and will close now.\r\n\r\n" +
         description + L"\r\n\r\nPlease email a screenshot of this message to " + product::kSupportEmail;
}

void Program::OnUnhandledFailure(const std::exception& failure) noexcept {
  try {
    platform_.dialogs.MessageBox(UnhandledFailureText(rt::DescribeException(failure)),
                                 rt::mb::kOkOnly | rt::mb::kCritical, product::kDisplayName);
  } catch (...) {
    // Nothing more can be said; the platform ends the program either way.
  }
}
