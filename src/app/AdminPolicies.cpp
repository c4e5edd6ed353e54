#include "app/AdminPolicies.h"

#include "autodrag/LatchSetting.h"
#include "shortcut/ShortcutText.h"

bool AdminPolicies::Understood(const rt::Texts& words, const std::wstring& name, const std::wstring& text) {
  if (name == settings::kLatch) return latch_setting::FromTexts(words, text, settings::kOff).complaint.empty();
  if (name == settings::kLatchRight || name == settings::kLatchMiddle)
    return latch_setting::FromTexts(words, settings::kOff, text, text).complaint.empty();
  if (name == settings::kHotkey) return shortcut_text::Parse(text).understood;
  if (name == settings::kIndicator) return text == settings::kOn || text == settings::kOff;
  return false;
}

void AdminPolicies::Read() {
  policy::Reader::Read read = reader_.ReadAll();
  decisions_ = read.decisions;
  // Said as soon as the tray icon can say it, before the next read.
  complaint_ = std::move(read.complaint);
}

void AdminPolicies::Watch(std::function<void()> changed) {
  const rt::RegKey roots[] = {rt::kHkeyLocalMachine, rt::kHkeyCurrentUser};
  for (std::size_t i = 0; i < watches_.size(); ++i)
    watches_[i] = registry_.WatchKey(roots[i], policy::kWatchedKey, pump_, changed);
}

DecidedByPolicy AdminPolicies::Decided() const {
  return DecidedByPolicy{decisions_.Decides(settings::kLatch),        decisions_.Decides(settings::kLatchRight),
                         decisions_.Decides(settings::kLatchMiddle),  decisions_.Decides(settings::kHotkey),
                         decisions_.Decides(settings::kIndicator),    decisions_.Decides(settings::kLatchExceptions)};
}
