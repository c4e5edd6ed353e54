// The main window's design: the window's own properties and every control on it, in
// twips, as they are before start-up changes anything.
#pragma once
#include <array>

#include "runtime/Types.h"
#include "runtime/controls/Control.h"

namespace layout {

inline constexpr int kClientWidth = 8040;
inline constexpr int kClientHeight = 2760;
inline const rt::Font kWindowFont{L"Arial", 9.0, true, 204};
inline const rt::Font kButtonFont{L"Arial", 11.25, true, 204};

struct ControlDesign {
  const wchar_t* name;
  rt::ControlKind kind;
  const wchar_t* caption;
  const wchar_t* container;  // nullptr: placed on the window
  rt::TwipsRect bounds;
  // The order of the screen, top to bottom, each frame just before what it holds: the
  // order of the Tab key and of a screen reader.
  int tabIndex;
  bool visible;
  bool tabStop = true;
};

// In the window's control order.
inline constexpr std::array<ControlDesign, 10> kControls{{
    {L"PushButton2", rt::ControlKind::PushButton, L"Start Autodrag", nullptr, {120, 120, 7800, 405}, 0, true},
    {L"Frame2", rt::ControlKind::Frame, L"Startup Options", nullptr, {120, 580, 7800, 735}, 1, true},
    {L"Check4",
     rt::ControlKind::CheckBox,
     L"Load this software on Windows startup",
     L"Frame2",
     {240, 300, 3930, 285},
     2,
     true},
    {L"Check8", rt::ControlKind::CheckBox, L"Minimized to system tray", L"Frame2", {4320, 300, 2580, 285}, 3, false},
    {L"Frame1", rt::ControlKind::Frame, L"Status", nullptr, {120, 1380, 7800, 735}, 4, true},
    {L"Label1", rt::ControlKind::Label, L"Auto-drag is off.", L"Frame1", {240, 300, 1350, 225}, 5, true},
    // The way to the Settings window: at the right of the status line, where the frame had
    // room, so the controls people know stay where they were; read and tabbed to after the
    // status and before Help.
    {L"PushButton3", rt::ControlKind::PushButton, L"&Settings...", L"Frame1", {5880, 225, 1800, 405}, 6, true},
    {L"PushButton1", rt::ControlKind::PushButton, L"Help", nullptr, {120, 2230, 7800, 405}, 7, true},
    // Below the client area, so never seen: it must never hold the focus either.
    {L"Text1", rt::ControlKind::TextBox, L"Text1", nullptr, {720, 3090, 615, 330}, 8, true, false},
    // The tray control is 510 x 510 twips and never seen; the skin component has no face.
    {L"cSysTray1", rt::ControlKind::UserControl, L"", nullptr, {0, 0, 510, 510}, 9, false},
}};

const ControlDesign& Find(const wchar_t* name);

}  // namespace layout
