#include "runtime/win32/Win32WindowHosting.h"

#include <algorithm>

#include "runtime/win32/FormHost.h"

namespace win32 {

class Win32WindowHosting::HostedDialog : public rt::HostedWindow {
 public:
  HostedDialog(Win32WindowHosting& hosting, rt::Form& form)
      : hosting_(hosting),
        host_(form, hosting.failures_, hosting.instance_, std::nullopt, FormHost::Dialog{hosting.owner_},
              hosting.pressActionName_) {
    hosting_.dialogs_.push_back(&host_);
  }
  HostedDialog(const HostedDialog&) = delete;
  HostedDialog& operator=(const HostedDialog&) = delete;
  ~HostedDialog() override {
    auto& dialogs = hosting_.dialogs_;
    dialogs.erase(std::remove(dialogs.begin(), dialogs.end(), &host_), dialogs.end());
  }

 private:
  Win32WindowHosting& hosting_;
  FormHost host_;
};

std::unique_ptr<rt::HostedWindow> Win32WindowHosting::HostDialog(rt::Form& form) {
  return std::make_unique<HostedDialog>(*this, form);
}

bool Win32WindowHosting::PreTranslate(MSG& message) {
  for (FormHost* dialog : dialogs_)
    if (dialog->PreTranslate(message)) return true;
  return false;
}

}  // namespace win32
