#include "settingswindow/SettingsWindow.h"

#include <algorithm>
#include <array>
#include <initializer_list>
#include <optional>

#include "runtime/LanguageFont.h"
#include "runtime/Text.h"
#include "runtime/TextSize.h"
#include "settingswindow/DialogFit.h"
#include "settingswindow/SettingsTexts.h"

namespace {

namespace text = settings_text;

constexpr int kClientWidth = 6000;
constexpr int kClientHeight = 7290;
// Captions longer than the design wrap onto more lines rather than widen the dialog past this.
constexpr int kWidestClient = kClientWidth + 600;
// The size of text the design was made for: its rows are as tall as that text needs.
constexpr double kDesignPoints = 8.25;
// What a window needs around its client area (title bar and borders), with room to spare;
// in twips it hardly changes with the DPI.
constexpr int kFrameAround = 600;
constexpr int kColumnGap = 120;
// As tall as anything the shortcut box shows.
constexpr const wchar_t* kWidestShortcut = L"Ctrl+Alt+Shift+F12";
// A width no caption needs: measured within it, a caption stays on one line.
constexpr int kOneLine = 100000;

// The slider's steps: ticks every 200 ms, the arrow keys by 100, Page Up and Down by 500,
// and a dragged thumb stops on whole 10 ms.
constexpr int kTickMs = 200;
constexpr int kArrowStepMs = 100;
constexpr int kPageStepMs = 500;
constexpr int kDraggedStepMs = 10;

constexpr std::uint32_t kBackspace = 0x08;
constexpr std::uint32_t kDelete = 0x2E;
constexpr std::uint32_t kF1 = 0x70;
constexpr std::uint32_t kF24 = 0x87;

bool CanBeShortcutKey(std::uint32_t key) {
  return (key >= 'A' && key <= 'Z') || (key >= '0' && key <= '9') || (key >= kF1 && key <= kF24);
}

// A file name as a menu item: an "&" in it is a letter, not an access key.
std::wstring MenuText(const std::wstring& fileName) {
  std::wstring text;
  for (const wchar_t c : fileName) {
    if (c == L'&') text += L'&';
    text += c;
  }
  return text;
}

}  // namespace

SettingsWindow::SettingsWindow(Parts parts)
    : parts_(std::move(parts)),
      tryIt_(TryArea, parts_.pump, parts_.badge, parts_.texts, [this] { return HoldSlider.Value(); }) {
  BuildLayout();
  ConnectEvents();
}

void SettingsWindow::BuildLayout() {
  Me.SetCaption(parts_.texts(text::kTitle));
  Me.SetClientSize(kClientWidth, kClientHeight);
  Me.SetBackColor(rt::kButtonFace);
  font_ = DialogFont();
  Me.SetFont(font_);

  struct Design {
    rt::Control* control;
    std::optional<rt::TextId> caption;
    rt::Control* container;
    rt::TwipsRect bounds;
  };
  // Reading order: top to bottom, left to right, each frame before what it holds. It is the
  // order of the Tab key and of a screen reader, and a label names the control after it.
  // A note that a policy decides stands beside what it is about; while none is shown, that
  // takes the whole row.
  const std::array<Design, 28> designs{{
      {&LatchFrame, text::kLatchFrame, nullptr, {120, 120, 5760, 4410}},
      {&LatchBox, text::kLatchOn, &LatchFrame, {240, 300, 2880, 285}},
      {&LatchPolicyNote, text::kSetByOrganisation, &LatchFrame, {3240, 330, 2280, 225}},
      {&HoldLabel, text::kHoldTime, &LatchFrame, {240, 750, 1020, 225}},
      {&HoldSlider, std::nullopt, &LatchFrame, {1320, 660, 3300, 450}},
      {&HoldValue, std::nullopt, &LatchFrame, {4680, 750, 900, 225}},
      {&ButtonsLabel, text::kButtons, &LatchFrame, {240, 1260, 2880, 225}},
      {&ButtonsPolicyNote, text::kSetByOrganisation, &LatchFrame, {3240, 1260, 2280, 225}},
      {&LeftBox, text::kLeft, &LatchFrame, {240, 1560, 1800, 285}},
      {&RightBox, text::kRight, &LatchFrame, {2160, 1560, 1200, 285}},
      {&MiddleBox, text::kMiddle, &LatchFrame, {3480, 1560, 1500, 285}},
      {&TryArea, text::kTryItHere, &LatchFrame, {240, 2010, 5280, 900}},
      {&ExceptionsLabel, text::kNeverLatchIn, &LatchFrame, {240, 3030, 2880, 225}},
      {&ExceptionsPolicyNote, text::kSetByOrganisation, &LatchFrame, {3240, 3030, 2280, 225}},
      {&ExceptionList, std::nullopt, &LatchFrame, {240, 3300, 3840, 930}},
      {&AddProgram, text::kAddProgram, &LatchFrame, {4200, 3300, 1320, 345}},
      {&RemoveProgram, text::kRemoveProgram, &LatchFrame, {4200, 3765, 1320, 345}},
      {&ShortcutFrame, text::kShortcutFrame, nullptr, {120, 4650, 5760, 1200}},
      {&ShortcutLabel, text::kShortcutLabel, &ShortcutFrame, {240, 345, 2400, 225}},
      {&ShortcutField, std::nullopt, &ShortcutFrame, {2640, 285, 1980, 330}},
      {&NoShortcut, text::kNoShortcut, &ShortcutFrame, {4740, 285, 780, 330}},
      {&ShortcutNote, std::nullopt, &ShortcutFrame, {240, 780, 5280, 225}},
      {&BadgeFrame, text::kBadgeFrame, nullptr, {120, 5970, 5760, 690}},
      {&BadgeBox, text::kBadgeOn, &BadgeFrame, {240, 300, 2880, 285}},
      {&BadgePolicyNote, text::kSetByOrganisation, &BadgeFrame, {3240, 330, 2280, 225}},
      {&OkButton, text::kOk, nullptr, {2400, 6810, 1080, 375}},
      {&CancelButton, text::kCancel, nullptr, {3600, 6810, 1080, 375}},
      {&ApplyButton, text::kApply, nullptr, {4800, 6810, 1080, 375}},
  }};
  int tabIndex = 0;
  for (const Design& design : designs) {
    design.control->SetBounds(design.bounds);
    design.control->SetTabIndex(tabIndex++);
    design.control->SetContainer(design.container);
    design.control->SetBackColor(rt::kButtonFace);
    if (auto* captioned = dynamic_cast<rt::CaptionedControl*>(design.control))
      captioned->SetCaption(design.caption ? parts_.texts(*design.caption) : std::wstring());
    Me.Add(*design.control);
    design_.emplace_back(design.control, design.bounds);
  }
  for (rt::Label* note : {&LatchPolicyNote, &ButtonsPolicyNote, &ExceptionsPolicyNote, &BadgePolicyNote, &ShortcutNote})
    note->SetVisible(false);
  LayOut();
  for (rt::Label* label : {&HoldLabel, &ShortcutLabel, &ExceptionsLabel}) label->SetUseMnemonic(true);
  for (rt::Label* label : {&HoldLabel, &ButtonsLabel, &ShortcutLabel, &ExceptionsLabel}) label->SetWordWrap(true);
  // What the user types into or tries out stands out from the dialog's face, as a field does.
  ShortcutField.SetBackColor(rt::kWindowBack);
  TryArea.SetBackColor(rt::kWindowBack);
  ExceptionList.SetBackColor(rt::kWindowBack);
  for (rt::PushButton* button : {&AddProgram, &RemoveProgram, &NoShortcut, &OkButton, &CancelButton, &ApplyButton})
    button->SetBackColor(rt::kWhite);
  HoldSlider.SetRange(SettingsValues::kShortestHoldMs, SettingsValues::kLongestHoldMs, kTickMs, kArrowStepMs,
                      kPageStepMs);
  HoldSlider.SetDraggedStep(kDraggedStepMs);
  // The primary button always latches: the stored settings have no switch for it.
  LeftBox.SetValue(1);
  LeftBox.SetEnabled(false);
  OkButton.SetDefault(true);
  CancelButton.SetCancel(true);
}

void SettingsWindow::ShowNote(rt::Label& note, bool shown) {
  if (note.Visible() == shown) return;
  note.SetVisible(shown);
  LayOut();
}

rt::Font SettingsWindow::DialogFont() {
  // The face and size Windows shows its own dialogs' text in, as large as the user asked.
  rt::Font font = parts_.metrics.MessageFont();
  font.bold = false;
  return rt::InLanguage(font, parts_.texts.CurrentLanguage());
}

void SettingsWindow::TextSizeChanged() {
  font_ = DialogFont();
  Me.SetFont(font_);
  LayOut();
}

void SettingsWindow::LayOut() {
  // Larger text may make the window wider, up to what the screen has room for; beyond, it wraps.
  const double larger = std::max(1.0, font_.points / kDesignPoints);
  std::vector<rt::Control*> controls;
  for (const auto& [control, bounds] : design_) controls.push_back(control);
  const rt::TextMetrics::Room room = parts_.metrics.WorkArea();
  const rt::Font& font = font_;
  // The hold time beside the slider is as wide as it gets at the longest hold.
  const std::wstring longestHold =
      parts_.texts.Format(text::kHoldTimeValue, {{L"ms", parts_.texts.Integer(SettingsValues::kLongestHoldMs)}});
  const auto captionOf = [&](const rt::Control& control) -> std::wstring {
    const auto* captioned = dynamic_cast<const rt::CaptionedControl*>(&control);
    const rt::ControlKind kind = control.Kind();
    if (captioned == nullptr || kind == rt::ControlKind::Frame || kind == rt::ControlKind::PressArea ||
        kind == rt::ControlKind::ShortcutBox)
      return {};
    return &control == &HoldValue ? longestHold : captioned->Caption();
  };
  const int roomWidth = std::max(kWidestClient, room.width - kFrameAround);
  const auto fit = [&](int widest) {
    for (const auto& [control, bounds] : design_) control->SetBounds(bounds);
    return dialog_fit::FitToCaptions(controls, {kClientWidth, kClientHeight}, widest,
        [&](const rt::Control& control) {
          const rt::ControlKind kind = control.Kind();
          // The shortcut box as wide as the longest combination, on one line.
          if (kind == rt::ControlKind::ShortcutBox)
            return parts_.metrics.CaptionWidth(rt::ControlKind::Label, kWidestShortcut, font) + 240;
          const std::wstring caption = captionOf(control);
          if (caption.empty()) return 0;
          // A push button's caption wants its edges clear.
          return parts_.metrics.CaptionWidth(kind, caption, font) + (kind == rt::ControlKind::PushButton ? 240 : 0);
        },
      [&](const rt::Control& control, int width) {
        // What a frame's title, the try-it area and the shortcut box show takes height too.
        const auto* captioned = dynamic_cast<const rt::CaptionedControl*>(&control);
        const rt::ControlKind kind = control.Kind();
        std::wstring text = captionOf(control);
        if ((kind == rt::ControlKind::Frame || kind == rt::ControlKind::PressArea) && captioned != nullptr)
          text = captioned->Caption();
        if (kind == rt::ControlKind::ShortcutBox)
          return parts_.metrics.CaptionHeight(rt::ControlKind::Label, kWidestShortcut, font, kOneLine);
        return text.empty() ? 0 : parts_.metrics.CaptionHeight(kind, text, font, width);
      });
  };
  dialog_fit::Size size = fit(std::min(static_cast<int>(kWidestClient * larger), roomWidth));
  // Too tall for the screen: the shortcut and the badge go beside the latch, as a second
  // column, each column half as wide as the screen allows.
  if (size.height + kFrameAround > room.height)
    size = SideBySide(fit((roomWidth - kColumnGap) / 2));
  Me.SetClientSize(size.width, size.height);
}

dialog_fit::Size SettingsWindow::SideBySide(dialog_fit::Size size) {
  const rt::TwipsRect latch = LatchFrame.Bounds();
  const rt::TwipsRect buttonsBefore = OkButton.Bounds();
  int top = latch.top;
  int right = latch.left + latch.width;
  for (rt::Frame* frame : {&ShortcutFrame, &BadgeFrame}) {
    rt::TwipsRect bounds = frame->Bounds();
    bounds.left = latch.left + latch.width + kColumnGap;
    bounds.top = top;
    frame->SetBounds(bounds);
    top += bounds.height + kColumnGap;
    right = std::max(right, bounds.left + bounds.width);
  }
  const int columnsBottom = std::max(latch.top + latch.height, top - kColumnGap);
  const int width = right + (size.width - (latch.left + latch.width));
  const int down = columnsBottom + kColumnGap - buttonsBefore.top;
  for (rt::PushButton* button : {&OkButton, &CancelButton, &ApplyButton}) {
    rt::TwipsRect bounds = button->Bounds();
    bounds.left += width - size.width;
    bounds.top += down;
    button->SetBounds(bounds);
  }
  return dialog_fit::Size{width, size.height + down};
}

void SettingsWindow::ConnectEvents() {
  const auto changed = [this] { ApplyButton.SetEnabled(true); };
  LatchBox.Click.Handle([this, changed] {
    ShowLatchEnabled();
    changed();
  });
  HoldSlider.Change.Handle([this, changed] {
    ShowHoldTime();
    changed();
  });
  RightBox.Click.Handle(changed);
  MiddleBox.Click.Handle(changed);
  BadgeBox.Click.Handle(changed);
  ShortcutField.KeyPressed.Handle([this, changed](rt::KeyChord chord) {
    const std::optional<rt::Shortcut> before = shortcut_;
    ShortcutKeyPressed(chord);
    if (shortcut_ != before) changed();
  });
  NoShortcut.Click.Handle([this, changed] {
    if (!shortcut_) return;
    ShowShortcut(std::nullopt);
    changed();
  });
  ExceptionList.Change.Handle([this] { ShowRemoveEnabled(); });
  AddProgram.Click.Handle([this, changed] {
    if (AddChosenProgram()) changed();
  });
  RemoveProgram.Click.Handle([this, changed] {
    if (RemoveSelectedProgram()) changed();
  });
  OkButton.Click.Handle([this] { Ok(); });
  CancelButton.Click.Handle([this] { Cancel(); });
  ApplyButton.Click.Handle([this] { Apply(); });
  // The close box, Alt+F4 and Escape are Cancel; the window stays made for the next time.
  Me.QueryUnload.Handle([this](int& cancel, int) {
    cancel = 1;
    Cancel();
  });
}

void SettingsWindow::Open(const SettingsValues& values, rt::WindowHandle beside) {
  if (!window_) window_ = parts_.windows.HostDialog(Me);
  if (!IsOpen()) {
    Show(values);
    Me.SetOpenNear(beside);
    Me.SetVisible(true);
  }
  Me.SetFocus();
}

void SettingsWindow::Show(const SettingsValues& values) {
  LatchBox.SetValue(values.latchOn ? 1 : 0);
  HoldSlider.SetValue(values.holdMs);
  RightBox.SetValue(values.latchRight ? 1 : 0);
  MiddleBox.SetValue(values.latchMiddle ? 1 : 0);
  BadgeBox.SetValue(values.badge ? 1 : 0);
  ExceptionList.SetItems(values.latchExceptions);
  ShowShortcut(values.shortcut);
  ShowHoldTime();
  ShowLatchEnabled();
  ShowDecided();
  tryIt_.Reset();
  // Nothing to apply until the user changes something.
  ApplyButton.SetEnabled(false);
}

SettingsValues SettingsWindow::Shown() const {
  SettingsValues values;
  values.latchOn = LatchBox.Value() == 1;
  values.holdMs = HoldSlider.Value();
  values.latchRight = RightBox.Value() == 1;
  values.latchMiddle = MiddleBox.Value() == 1;
  values.shortcut = shortcut_;
  values.badge = BadgeBox.Value() == 1;
  values.latchExceptions = ExceptionList.Items();
  return values;
}

void SettingsWindow::ShowHoldTime() {
  HoldValue.SetCaption(parts_.texts.Format(text::kHoldTimeValue, {{L"ms", parts_.texts.Integer(HoldSlider.Value())}}));
}

void SettingsWindow::ShowLatchEnabled() {
  const bool on = LatchBox.Value() == 1;
  HoldSlider.SetEnabled(on && !decided_.latch);
  RightBox.SetEnabled(on && !decided_.latchRight);
  MiddleBox.SetEnabled(on && !decided_.latchMiddle);
  ExceptionList.SetEnabled(on && !decided_.latchExceptions);
  AddProgram.SetEnabled(on && !decided_.latchExceptions);
  ShowRemoveEnabled();
}

void SettingsWindow::ShowRemoveEnabled() {
  RemoveProgram.SetEnabled(LatchBox.Value() == 1 && !decided_.latchExceptions &&
                           ExceptionList.Selected() != rt::ListBox::kNone);
}

bool SettingsWindow::AddChosenProgram() {
  std::vector<std::wstring> offered;
  for (const std::wstring& name : parts_.programs.WithOpenWindows())
    if (std::none_of(ExceptionList.Items().begin(), ExceptionList.Items().end(),
                     [&](const std::wstring& listed) { return rt::SameFileName(listed, name); }))
      offered.push_back(name);
  std::vector<rt::MenuItem> items;
  for (std::size_t i = 0; i < offered.size(); ++i) items.push_back({static_cast<int>(i + 1), MenuText(offered[i])});
  // A menu that does not open would leave the user wondering whether the button works.
  if (offered.empty()) items.push_back({-1, parts_.texts(text::kNothingToAdd), false, true});
  const int chosen = parts_.menus.Show(items, Me.Handle(), std::nullopt);
  if (chosen <= 0 || chosen > static_cast<int>(offered.size())) return false;
  std::vector<std::wstring> listed = ExceptionList.Items();
  listed.push_back(offered[static_cast<std::size_t>(chosen - 1)]);
  ExceptionList.SetItems(std::move(listed));
  ExceptionList.SetSelected(static_cast<int>(ExceptionList.Items().size()) - 1);
  return true;
}

bool SettingsWindow::RemoveSelectedProgram() {
  const int selected = ExceptionList.Selected();
  if (selected == rt::ListBox::kNone) return false;
  std::vector<std::wstring> listed = ExceptionList.Items();
  listed.erase(listed.begin() + selected);
  ExceptionList.SetItems(std::move(listed));
  // The one after it comes up in its place, so that Remove can go on through the list.
  const int left = static_cast<int>(ExceptionList.Items().size());
  ExceptionList.SetSelected(selected < left ? selected : left - 1);
  return true;
}

bool SettingsWindow::TakeShortcutPress(const rt::Shortcut& pressed) {
  if (!IsOpen() || !ShortcutField.Focused()) return false;
  ShortcutField.KeyPressed.Raise(rt::KeyChord{pressed.key, pressed.win, pressed.ctrl, pressed.alt, pressed.shift});
  return true;
}

void SettingsWindow::SetDecided(const DecidedByPolicy& decided, const SettingsValues& inEffect) {
  // An administrator's change is rare enough that the window may start again from what is
  // in effect.
  decided_ = decided;
  if (IsOpen()) Show(inEffect);
}

void SettingsWindow::ShowDecided() {
  LatchBox.SetEnabled(!decided_.latch);
  ShowNote(LatchPolicyNote, decided_.latch);
  ShowNote(ButtonsPolicyNote, decided_.latchRight || decided_.latchMiddle);
  ShowNote(ExceptionsPolicyNote, decided_.latchExceptions);
  ShortcutField.SetEnabled(!decided_.shortcut);
  NoShortcut.SetEnabled(!decided_.shortcut);
  BadgeBox.SetEnabled(!decided_.badge);
  ShowNote(BadgePolicyNote, decided_.badge);
  if (decided_.shortcut) {
    ShortcutNote.SetCaption(parts_.texts(text::kSetByOrganisation));
    ShowNote(ShortcutNote, true);
  } else {
    ShowShortcut(shortcut_);
  }
}

void SettingsWindow::ShowShortcut(const std::optional<rt::Shortcut>& shortcut) {
  shortcut_ = shortcut;
  ShortcutField.SetCaption(shortcut ? parts_.describe(*shortcut) : parts_.texts(text::kNone));
  // Said at once, while the user can still choose another.
  const bool taken = shortcut && !parts_.shortcuts.Available(*shortcut);
  ShortcutNote.SetCaption(
      taken ? parts_.texts.Format(text::kTakenByAnother, {{L"shortcut", parts_.describe(*shortcut)}}) : std::wstring());
  // The line under the shortcut takes room only while it has something to say.
  ShowNote(ShortcutNote, taken);
}

void SettingsWindow::ShortcutKeyPressed(const rt::KeyChord& chord) {
  const bool modified = chord.win || chord.ctrl || chord.alt || chord.shift;
  if (!modified && (chord.key == kBackspace || chord.key == kDelete)) {
    ShowShortcut(std::nullopt);
    return;
  }
  // A bare key would be taken from every program the user types in; a modifier alone is
  // the first half of a combination still being pressed.
  if (!modified || !CanBeShortcutKey(chord.key)) return;
  ShowShortcut(rt::Shortcut{chord.win, chord.ctrl, chord.alt, chord.shift, chord.key});
}

void SettingsWindow::Ok() {
  // Nothing changed, nothing is written: values an administrator wrote stay as written.
  if (ApplyButton.Enabled()) Apply();
  Hide();
}

void SettingsWindow::Cancel() { Hide(); }

void SettingsWindow::Apply() {
  if (parts_.apply) parts_.apply(Shown());
  ApplyButton.SetEnabled(false);
}

void SettingsWindow::Hide() {
  tryIt_.Reset();
  Me.SetVisible(false);
}
