// Shortcuts as people write them in the settings: "Win+Shift+D", "Ctrl+Alt+F5", or "None".
#pragma once
#include <optional>
#include <string>

#include "runtime/GlobalShortcuts.h"
#include "runtime/Texts.h"

namespace shortcut_text {

inline constexpr const wchar_t* kNone = L"None";

struct Parsed {
  // False when the text is no shortcut we understand.
  bool understood = false;
  // Empty for "None": the user wants no shortcut.
  std::optional<rt::Shortcut> shortcut;
};

// Modifiers (Win, Ctrl, Alt, Shift, in any order and case) joined by "+" to one key: a
// letter, a digit or F1 to F24. At least one modifier: a bare key would be taken from
// every program the user types in.
Parsed Parse(const std::wstring& text);
// As the setting writes it, with the English names whatever the language.
std::wstring Describe(const rt::Shortcut& shortcut);
// As the user's language names the keys ("Strg+Alt+D" in German), for what the user reads.
std::wstring Describe(const rt::Shortcut& shortcut, const rt::Texts& texts);

}  // namespace shortcut_text
