// The main window's design: the window's own properties and every control on it, in
// twips, as they are before start-up changes anything. The captions are the catalogue's.
#pragma once
#include <array>

#include "runtime/TextIds.h"
#include "runtime/Types.h"
#include "runtime/controls/Control.h"

namespace layout {

inline constexpr int kClientWidth = 8040;
inline constexpr int kClientHeight = 2760;
inline const rt::Font kWindowFont{L"Arial", 9.0, true, 204};
inline const rt::Font kButtonFont{L"Arial", 11.25, true, 204};

// The design's fonts in the user's language (Japanese and Chinese need other faces).
rt::Font WindowFont(rt::Language language);
rt::Font ButtonFont(rt::Language language);

// A control with no caption from the catalogue.
inline constexpr rt::TextId kNoText = static_cast<rt::TextId>(0);

struct ControlDesign {
  const wchar_t* name;
  rt::ControlKind kind;
  rt::TextId caption;
  // What the program may set instead, which must fit as well (kNoText: nothing).
  rt::TextId otherCaption;
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
    {L"PushButton2",
     rt::ControlKind::PushButton,
     rt::TextId::StartAutodrag,
     rt::TextId::StopAutodrag,
     nullptr,
     {120, 120, 7800, 405},
     0,
     true},
    {L"Frame2", rt::ControlKind::Frame, rt::TextId::StartupOptions, kNoText, nullptr, {120, 580, 7800, 735}, 1, true},
    {L"Check4",
     rt::ControlKind::CheckBox,
     rt::TextId::LoadOnStartup,
     kNoText,
     L"Frame2",
     {240, 300, 3930, 285},
     2,
     true},
    {L"Check8",
     rt::ControlKind::CheckBox,
     rt::TextId::MinimizedToTray,
     kNoText,
     L"Frame2",
     {4320, 300, 2580, 285},
     3,
     false},
    {L"Frame1", rt::ControlKind::Frame, rt::TextId::Status, kNoText, nullptr, {120, 1380, 7800, 735}, 4, true},
    {L"Label1",
     rt::ControlKind::Label,
     rt::TextId::AutodragIsOff,
     rt::TextId::AutodragIsOn,
     L"Frame1",
     {240, 300, 1350, 225},
     5,
     true},
    // The way to the Settings window: at the right of the status line, where the frame had
    // room, so the controls people know stay where they were; read and tabbed to after the
    // status and before Help.
    {L"PushButton3",
     rt::ControlKind::PushButton,
     rt::TextId::OpenSettings,
     kNoText,
     L"Frame1",
     {5880, 225, 1800, 405},
     6,
     true},
    {L"PushButton1", rt::ControlKind::PushButton, rt::TextId::Help, kNoText, nullptr, {120, 2230, 7800, 405}, 7, true},
    // Below the client area, so never seen: it must never hold the focus either. Its
    // design text "Text1" is no caption anyone reads.
    {L"Text1", rt::ControlKind::TextBox, kNoText, kNoText, nullptr, {720, 3090, 615, 330}, 8, true, false},
    // The tray control is 510 x 510 twips and never seen; the skin component has no face.
    {L"cSysTray1", rt::ControlKind::UserControl, kNoText, kNoText, nullptr, {0, 0, 510, 510}, 9, false},
}};

const ControlDesign& Find(const wchar_t* name);

}  // namespace layout
