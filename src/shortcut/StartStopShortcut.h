// The shortcut that does what the Start/Stop button does, from anywhere on the desktop.
#pragma once
#include <functional>
#include <string>

#include "runtime/GlobalShortcuts.h"
#include "runtime/Texts.h"

class StartStopShortcut {
 public:
  static constexpr const wchar_t* kDefault = L"Win+Shift+D";

  enum class Outcome { On, Off, Unavailable };

  StartStopShortcut(rt::GlobalShortcuts& shortcuts, const rt::Texts& texts) : shortcuts_(shortcuts), texts_(texts) {}
  StartStopShortcut(const StartStopShortcut&) = delete;
  StartStopShortcut& operator=(const StartStopShortcut&) = delete;
  ~StartStopShortcut() { shortcuts_.Unregister(); }

  // Takes the shortcut the setting names; each press then runs `pressed`. Unavailable when
  // the text is not a shortcut or another program holds it: the window still works.
  Outcome Apply(const std::wstring& settingText, std::function<void()> pressed);
  // What the one balloon about an unavailable shortcut says.
  std::wstring UnavailableText() const { return unavailableText_; }

 private:
  rt::GlobalShortcuts& shortcuts_;
  const rt::Texts& texts_;
  std::wstring unavailableText_;
};
