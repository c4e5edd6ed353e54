#include "shortcut/StartStopShortcut.h"

#include "shortcut/ShortcutText.h"

StartStopShortcut::Outcome StartStopShortcut::Apply(const std::wstring& settingText, std::function<void()> pressed) {
  shortcuts_.Unregister();
  const shortcut_text::Parsed parsed = shortcut_text::Parse(settingText);
  if (!parsed.understood) {
    unavailableText_ = L"The shortcut \"" + settingText +
                       L"\" in Vornatic's settings is not one Vornatic understands, so it is not available.\r\n"
                       L"Start and stop auto-drag from Vornatic's window.";
    return Outcome::Unavailable;
  }
  if (!parsed.shortcut) return Outcome::Off;
  if (!shortcuts_.Register(*parsed.shortcut, std::move(pressed))) {
    unavailableText_ = L"The shortcut " + shortcut_text::Describe(*parsed.shortcut) +
                       L" is not available: another program already uses it.\r\n"
                       L"Start and stop auto-drag from Vornatic's window.";
    return Outcome::Unavailable;
  }
  return Outcome::On;
}
