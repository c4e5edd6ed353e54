#include "fakes/FakeMenusAndWindows.h"

namespace fake {

std::wstring Shown(const std::wstring& text) {
  std::wstring shown;
  for (const wchar_t c : text)
    if (c != L'&') shown += c;
  return shown;
}

int FakeMenus::Show(const std::vector<rt::MenuItem>& items, rt::WindowHandle, std::optional<rt::ScreenPoint>) {
  shown.push_back(items);
  if (whileOpen) whileOpen();
  int chosen = choose;
  if (!chooseText.empty()) {
    chosen = 0;
    for (const rt::MenuItem& item : items)
      if (Shown(item.text) == chooseText && !item.grayed) chosen = item.command;
  }
  choose = 0;
  chooseText.clear();
  return chosen;
}

namespace {
class FakeHostedWindow : public rt::HostedWindow {
 public:
  FakeHostedWindow(rt::Form& form, int& alive) : form_(form), alive_(alive) {
    ++alive_;
    form_.SetHandle(0x3001);
  }
  ~FakeHostedWindow() override {
    --alive_;
    form_.SetHandle(0);
  }

 private:
  rt::Form& form_;
  int& alive_;
};
}  // namespace

std::unique_ptr<rt::HostedWindow> FakeWindowHosting::HostDialog(rt::Form& form) {
  ++made;
  return std::make_unique<FakeHostedWindow>(form, alive);
}

}  // namespace fake
