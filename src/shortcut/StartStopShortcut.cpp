#include "shortcut/StartStopShortcut.h"

#include "runtime/Text.h"
#include "shortcut/ShortcutText.h"

StartStopShortcut::Outcome StartStopShortcut::Apply(const std::wstring& settingText, std::function<void()> pressed) {
  shortcuts_.Unregister();
  const shortcut_text::Parsed parsed = shortcut_text::Parse(settingText);
  if (!parsed.understood) {
    unavailableText_ = texts_.Format(rt::TextId::ShortcutNotUnderstood, {{L"setting", rt::Abridged(settingText)}});
    return Outcome::Unavailable;
  }
  if (!parsed.shortcut) return Outcome::Off;
  if (!shortcuts_.Register(*parsed.shortcut, std::move(pressed))) {
    unavailableText_ =
        texts_.Format(rt::TextId::ShortcutTaken, {{L"shortcut", shortcut_text::Describe(*parsed.shortcut, texts_)}});
    return Outcome::Unavailable;
  }
  return Outcome::On;
}
