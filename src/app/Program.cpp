#include "app/Program.h"

#include "app/Product.h"
#include "runtime/Failure.h"

Program::Program(rt::Platform& platform, std::wstring displayName)
    : sysTray_(platform.windowProcs),
      mouse_(platform),
      form1_(platform, globals_, mouse_, sysTray_, std::move(displayName)),
      platform_(platform) {}

void Program::Start() {
  form1_.Form_Load();
  form1_.Me.Show();
}

std::wstring Program::UnhandledFailureText(const rt::Texts& texts, const std::wstring& description) {
  return texts.Format(
      rt::TextId::FatalError,
      {{L"product", product::kDisplayName}, {L"description", description}, {L"email", product::kSupportEmail}});
}

namespace {
// On the way out each step stands alone: one that fails must not keep the next from running.
template <typename Step>
void Attempt(Step&& step) noexcept {
  try {
    step();
  } catch (...) {
  }
}
}  // namespace

void Program::OnUnhandledFailure(const std::exception& failure) noexcept {
  // Before a word is said, let go of everything the user could be left with once the
  // process has vanished: a button we keep down for them and an icon in the tray that no
  // longer answers. The hook goes first, so that nothing is counted or swallowed while the
  // box below is up.
  Attempt([&] { mouse_.Close(); });
  Attempt([&] { form1_.LetGoOfTheButton(); });
  Attempt([&] { form1_.cSysTray1.SetInTray(false); });
  // Nothing more can be said when the box itself fails; the platform ends the program either way.
  Attempt([&] {
    platform_.dialogs.MessageBox(UnhandledFailureText(platform_.texts, rt::DescribeException(failure)),
                                 rt::mb::kOkOnly | rt::mb::kCritical, product::kDisplayName);
  });
}
