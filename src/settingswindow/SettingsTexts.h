// Every English text of the Settings window and of the tray menu, in one place, so that a
// catalogue per language can take them over in one step. "&" marks a mnemonic.
#pragma once

namespace settings_text {

inline constexpr const wchar_t* kTitle = L"Vornatic Settings";

inline constexpr const wchar_t* kLatchFrame = L"Latch";
inline constexpr const wchar_t* kLatchOn = L"&Latch a press held still";
inline constexpr const wchar_t* kHoldTime = L"&Hold time:";
inline constexpr const wchar_t* kMilliseconds = L" ms";
inline constexpr const wchar_t* kButtons = L"Buttons that latch:";
inline constexpr const wchar_t* kLeft = L"Le&ft (primary)";
inline constexpr const wchar_t* kRight = L"&Right";
inline constexpr const wchar_t* kMiddle = L"&Middle";
inline constexpr const wchar_t* kTryItHere = L"Try it here";
inline constexpr const wchar_t* kLatched = L"Latched";
// Followed by the time the press was held and kReleasedEnd: "... (640 ms)".
inline constexpr const wchar_t* kReleasedBefore = L"Released before the hold time (";
inline constexpr const wchar_t* kReleasedEnd = L" ms)";

inline constexpr const wchar_t* kShortcutFrame = L"Shortcut";
inline constexpr const wchar_t* kShortcutLabel = L"Start and stop auto-&drag with:";
inline constexpr const wchar_t* kNoShortcut = L"&None";
inline constexpr const wchar_t* kNone = L"None";
// Followed by the combination: "Another program uses Ctrl+Alt+D".
inline constexpr const wchar_t* kTakenByAnother = L"Another program uses ";

inline constexpr const wchar_t* kBadgeFrame = L"Badge";
inline constexpr const wchar_t* kBadgeOn = L"Show the &badge beside the pointer while a button is held";

inline constexpr const wchar_t* kOk = L"OK";
inline constexpr const wchar_t* kCancel = L"Cancel";
inline constexpr const wchar_t* kApply = L"&Apply";

// The main window's way in, and its system menu's.
inline constexpr const wchar_t* kOpenSettings = L"&Settings...";

// The tray menu.
inline constexpr const wchar_t* kMenuStart = L"&Start Autodrag";
inline constexpr const wchar_t* kMenuStop = L"&Stop Autodrag";
inline constexpr const wchar_t* kMenuLatch = L"&Latch";
inline constexpr const wchar_t* kMenuSettings = L"S&ettings...";
inline constexpr const wchar_t* kMenuHelp = L"&Help";
inline constexpr const wchar_t* kMenuExit = L"E&xit";

}  // namespace settings_text
