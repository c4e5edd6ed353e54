#include "app/Form1.h"

#include "app/ErrorReport.h"
#include "runtime/TextSize.h"
#include "ui/Layout.h"
#include "ui/ReadableLook.h"
#include "ui/WindowFit.h"

Form1::Form1(rt::Platform& platform, Globals& globals, modMouse& mouse, SysTray& sysTray, std::wstring displayName)
    : platform_(platform),
      globals_(globals),
      mouse_(mouse),
      displayName_(std::move(displayName)),
      cSysTray1(platform, cSysTray1Site, sysTray),
      SkinFramework1(platform.files, Me) {
  BuildLayout();
  ConnectEvents();
  platform_.badge.SetLetters(platform_.texts(rt::TextId::BadgeLeft), platform_.texts(rt::TextId::BadgeRight),
                             platform_.texts(rt::TextId::BadgeMiddle),
                             layout::WindowFont(platform_.texts.CurrentLanguage()));
  // The Settings window follows a high-contrast theme as the main window does.
  userSettings_.Dialog().Me.SetLookRule(&ui::ReadableLook);
  mouse_.SetHoldObserver(&holdWatch_);
  // A click on our own tray icon while holding is the user giving up, never the drop.
  mouse_.SetTrayIconLocator([this] { return cSysTray1.IconScreenRect(); });
  mouse_.SetNoticeHandler([this](modMouse::Notice notice) { MouseNotice(notice); });
}

Form1::~Form1() {
  mouse_.SetHoldObserver(nullptr);
  mouse_.SetTrayIconLocator({});
  mouse_.SetNoticeHandler({});
  platform_.session.OnLeavingDesktop(nullptr);
  platform_.session.OnReturnedToDesktop(nullptr);
  platform_.session.OnStartedAgain(nullptr);
  platform_.metrics.OnTextSizeChanged({});
}

void Form1::BuildLayout() {
  Me.SetCaption(L"Form1");
  Me.SetBackColor(rt::kWhite);
  rt::Control* const controls[] = {&PushButton2, &Frame2,      &Check4,      &Check8, &Frame1,
                                   &Label1,      &PushButton3, &PushButton1, &Text1,  &cSysTray1Site};
  for (rt::Control* control : controls) {
    const auto& design = layout::Find(control->Name().c_str());
    control->SetTabIndex(design.tabIndex);
    control->SetTabStop(design.tabStop);
    control->SetVisible(design.visible);
    if (auto* captioned = dynamic_cast<rt::CaptionedControl*>(control))
      captioned->SetCaption(design.caption != layout::kNoText ? platform_.texts(design.caption) : control->Name());
    if (design.container != nullptr)
      control->SetContainer(std::wstring(design.container) == L"Frame2" ? static_cast<rt::Control*>(&Frame2)
                                                                        : static_cast<rt::Control*>(&Frame1));
    Me.Add(*control);
  }
  for (rt::PushButton* button : {&PushButton2, &PushButton3, &PushButton1}) {
    button->SetForeColor(rt::kButtonText);
    button->SetBackColor(rt::kWhite);
  }
  LayOut();
  Me.AddSystemMenuItem(kSystemMenuSettings, platform_.texts(rt::TextId::OpenSettings));
  cSysTray1.ReadProperties([this] {
    rt::PropertyBag bag;  // as saved with the design: out of the tray, no tip, the blue K
    bag.Write(L"InTray", false);
    bag.Write(L"TrayIcon", platform_.app.TrayIconPicture());
    bag.Write(L"TrayTip", std::wstring());
    return bag;
  }());
}

namespace {
// Room a window needs around its client area (title bar and borders), with some to spare.
constexpr int kFrameAround = 600;
}  // namespace

void Form1::LayOut() {
  // The design's faces, as much larger as the user asked Windows for larger text.
  const double larger = rt::TextSizeFactor(platform_.metrics.MessageFont());
  const rt::Language language = platform_.texts.CurrentLanguage();
  const rt::Font windowFont = rt::Grown(layout::WindowFont(language), larger);
  const rt::Font buttonFont = rt::Grown(layout::ButtonFont(language), larger);
  // The two big buttons have a font of their own; everything else takes the window's.
  const auto fontOf = [&](const std::wstring& name) {
    return name == PushButton2.Name() || name == PushButton1.Name() ? buttonFont : windowFont;
  };
  const layout::FittedLayout fitted = layout::FitToCaptions(
      [&](const layout::ControlDesign& design, rt::TextId id) {
        return platform_.metrics.CaptionWidth(design.kind, platform_.texts(id), fontOf(design.name));
      },
      larger, platform_.metrics.WorkArea().width - kFrameAround);
  Me.SetFont(windowFont);
  for (rt::PushButton* button : {&PushButton2, &PushButton1}) button->SetFont(buttonFont);
  for (rt::Control* control : Me.Controls()) {
    const auto& design = layout::Find(control->Name().c_str());
    control->SetBounds(fitted.bounds[static_cast<std::size_t>(&design - layout::kControls.data())]);
  }
  Me.SetClientSize(fitted.clientWidth, fitted.clientHeight);
}

void Form1::TextSizeChanged() {
  LayOut();
  userSettings_.Dialog().TextSizeChanged();
}

void Form1::ConnectEvents() {
  Me.Resize.Handle([this] { Form_Resize(); });
  Me.QueryUnload.Handle([this](int& cancel, int mode) { Form_QueryUnload(cancel, mode); });
  Me.Unload.Handle([this](int& cancel) { Form_Unload(cancel); });
  Me.MouseMove.Handle([this](rt::MouseMoveArgs a) { Form_MouseMove(a); });
  Frame1.MouseMove.Handle([this](rt::MouseMoveArgs a) { Frame1_MouseMove(a); });
  Frame2.MouseMove.Handle([this](rt::MouseMoveArgs a) { Frame2_MouseMove(a); });
  PushButton2.Click.Handle([this] { PushButton2_Click(); });
  PushButton1.Click.Handle([this] { PushButton1_Click(); });
  PushButton1.MouseMove.Handle([this](rt::MouseMoveArgs a) { PushButton1_MouseMove(a); });
  PushButton2.MouseMove.Handle([this](rt::MouseMoveArgs a) { PushButton2_MouseMove(a); });
  PushButton3.Click.Handle([this] { PushButton3_Click(); });
  PushButton3.MouseMove.Handle([this](rt::MouseMoveArgs a) { PushButton3_MouseMove(a); });
  Me.SystemMenuChosen.Handle([this](int id) { Form_SystemMenuChosen(id); });
  cSysTray1.ContextMenu.Handle([this](std::int32_t id) { cSysTray1_ContextMenu(id); });
  Check4.Click.Handle([this] { Check4_Click(); });
  Check8.Click.Handle([this] { Check8_Click(); });
  cSysTray1.MouseDown.Handle([this](std::int16_t button, std::int32_t id) { cSysTray1_MouseDown(button, id); });
  cSysTray1.MouseUp.Handle([this](std::int16_t button, std::int32_t id) { cSysTray1_MouseUp(button, id); });
  platform_.session.OnLeavingDesktop([this] { Session_LeavingDesktop(); });
  platform_.session.OnStartedAgain([this] { Session_StartedAgain(); });
  platform_.session.OnReturnedToDesktop([this] { Session_ReturnedToDesktop(); });
  cSysTray1.Select.Handle([this](std::int32_t id) { cSysTray1_Select(id); });
  // Where the icon stands decides whether a click there gives a hold up.
  cSysTray1.IconPlacedAgain.Handle([this] { mouse_.TrayIconMoved(); });
  Label1.Change.Handle([this] { Label1_Change(); });
  platform_.metrics.OnTextSizeChanged([this] { TextSizeChanged(); });
}

// The status line is spoken as it changes: the window is in the tray while auto-drag is on.
void Form1::Label1_Change() { platform_.accessibility.LiveRegionChanged(Label1); }

void Form1::PushButton2_Click() {
  NumberedStatements steps(platform_.dialogs, platform_.texts, L"PushButton2_Click");
  autoDrag_.StartOrStop(steps);
}

void Form1::PushButton1_Click() {
  NumberedStatements steps(platform_.dialogs, platform_.texts, L"PushButton1_Click");
  help_.Show(steps);
}

void Form1::Check4_Click() { startupChoices_.RunAtLogonClicked(); }

void Form1::Check8_Click() { startupChoices_.MinimizedClicked(); }

void Form1::PushButton3_Click() { userSettings_.OpenSettings(); }

void Form1::StartStopShortcut_Pressed() { userSettings_.ShortcutPressed(); }

void Form1::Form_SystemMenuChosen(int id) {
  if (id == kSystemMenuSettings) userSettings_.OpenSettings();
}

void Form1::cSysTray1_ContextMenu(std::int32_t /*id*/) { trayMenu_.Show(); }

void Form1::Form_Resize() { behaviour_.Resize(); }
void Form1::Form_QueryUnload(int& /*cancel*/, int /*unloadMode*/) { behaviour_.QueryUnload(); }
void Form1::Form_Unload(int& /*cancel*/) { behaviour_.Unload(); }
void Form1::LetGoOfTheButton() { behaviour_.LetGoOfTheButton(); }
// The arrow over the background and the frames; over the buttons the hand, which start-up
// loads as the window's own.
void Form1::Form_MouseMove(const rt::MouseMoveArgs&) { behaviour_.SetPointer(rt::pointer::kDefault); }
void Form1::Frame1_MouseMove(const rt::MouseMoveArgs&) { behaviour_.SetPointer(rt::pointer::kDefault); }
void Form1::Frame2_MouseMove(const rt::MouseMoveArgs&) { behaviour_.SetPointer(rt::pointer::kDefault); }
void Form1::PushButton1_MouseMove(const rt::MouseMoveArgs&) { behaviour_.SetPointer(rt::pointer::kCustom); }
void Form1::PushButton2_MouseMove(const rt::MouseMoveArgs&) { behaviour_.SetPointer(rt::pointer::kCustom); }
void Form1::PushButton3_MouseMove(const rt::MouseMoveArgs&) { behaviour_.SetPointer(rt::pointer::kCustom); }
void Form1::cSysTray1_MouseDown(std::int16_t button, std::int32_t /*id*/) { behaviour_.TrayMouseDown(button); }
void Form1::cSysTray1_MouseUp(std::int16_t button, std::int32_t /*id*/) { behaviour_.TrayMouseUp(button); }
// The shell's word for the icon chosen: clicked, or picked with Enter or Space from the keyboard.
void Form1::cSysTray1_Select(std::int32_t /*id*/) { behaviour_.BringWindowBack(); }
void Form1::Session_LeavingDesktop() { behaviour_.LeavingDesktop(); }
void Form1::Session_ReturnedToDesktop() { behaviour_.ReturnedToDesktop(); }
// Started again from the Start menu or the folder: the user is looking for the window.
void Form1::Session_StartedAgain() { behaviour_.BringWindowBack(); }

void Form1::MouseNotice(modMouse::Notice notice) {
  if (notice == modMouse::Notice::LatchStopped) {
    cSysTray1.SetTrayTip(displayName_);
    cSysTray1.ShowBalloon(platform_.texts(rt::TextId::LatchCannotWatch), displayName_, 0, false);
  } else if (notice == modMouse::Notice::PutBackRefusedAtClose) {
    // The tray icon is already gone on the way out: a box is what is left to say it with.
    platform_.dialogs.MessageBox(platform_.texts(rt::TextId::PutBackRefusedAtClose),
                                 rt::mb::kOkOnly | rt::mb::kExclamation, displayName_);
  } else {
    cSysTray1.ShowBalloon(platform_.texts(rt::TextId::HookLossUnwatched), displayName_, 0, false);
  }
}
