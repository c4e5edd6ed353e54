#include "ui/SkinFramework.h"

#include "runtime/Failure.h"
#include "runtime/Text.h"
#include "ui/ReadableLook.h"

namespace {

int Channel(rt::OleColor c, int shift) { return static_cast<int>((c >> shift) & 0xFF); }

// Moves a colour part of the way towards another: 0 keeps it, 100 reaches the target.
rt::OleColor Mix(rt::OleColor from, rt::OleColor to, int percent) {
  const auto blend = [&](int shift) {
    return Channel(from, shift) + (Channel(to, shift) - Channel(from, shift)) * percent / 100;
  };
  return rt::Rgb(blend(0), blend(8), blend(16));
}

bool IsLight(rt::OleColor c) {
  const int luma = (Channel(c, 0) * 299 + Channel(c, 8) * 587 + Channel(c, 16) * 114) / 1000;
  return luma >= 160;
}

// Hover and pressed shades that stay readable on the face: a light face darkens, a dark
// one lightens under the pointer and darkens when pressed.
rt::OleColor HoverShade(rt::OleColor face) { return IsLight(face) ? Mix(face, 0, 8) : Mix(face, rt::kWhite, 15); }
rt::OleColor PressedShade(rt::OleColor face) { return Mix(face, 0, IsLight(face) ? 16 : 20); }

}  // namespace

SkinFramework::SkinFramework(rt::FileSystem& files, rt::Form& host) : files_(files), host_(host) {
  host_.SetLookRule(&ui::ReadableLook);
}

void SkinFramework::LoadSkin(const std::wstring& path, const std::wstring& scheme) {
  skin_.reset();
  const auto bytes = files_.ReadFile(path, skin::kMaxFileBytes);
  if (!bytes) return;
  auto parsed = skin::ParseSkin(bytes->data(), bytes->size());
  if (!parsed || (!scheme.empty() && !rt::EqualsIgnoringAsciiCase(parsed->name, scheme))) return;
  skin_ = std::move(parsed);
}

void SkinFramework::ApplyWindow(std::int32_t windowHandle) {
  // Window handles fit 32 bits, on 64-bit Windows too.
  if (windowHandle != static_cast<std::int32_t>(host_.Handle())) throw rt::Failure(L"Invalid window handle");
  if (!skin_) return;
  const skin::Skin& skin = *skin_;

  host_.SetSkinned(true);
  host_.SetBackColor(skin.window.background);
  if (skin.window.text) host_.SetForeColor(*skin.window.text);
  if (skinFonts_ && skin.window.font) host_.SetFont(*skin.window.font);
  if ((options_ & kSkinControls) == 0) return;

  const rt::OleColor controlsBack = skin.controls.background.value_or(skin.window.background);
  const auto controlsText = skin.controls.text ? skin.controls.text : skin.window.text;
  for (rt::Control* control : host_.Controls()) {
    if (rt::HasPlainBackground(control->Kind())) {
      control->SetSkinned(true);
      control->SetBackColor(controlsBack);
      if (controlsText) control->SetForeColor(*controlsText);
    } else if (auto* button = dynamic_cast<rt::PushButton*>(control)) {
      DressButton(*button, skin.button);
    }  // the text box, the tray control and we ourselves have no look to change
  }
}

void SkinFramework::DressButton(rt::PushButton& button, const skin::Skin::Button& skin) const {
  button.SetSkinned(true);
  rt::ButtonLook look = button.Look();
  look.face = skin.face;
  if (skin.text) look.text = *skin.text;
  if (skin.border) look.border = *skin.border;
  if (skin.focus) look.focus = *skin.focus;
  look.hover = buttonStateColors_ && skin.hover ? *skin.hover : HoverShade(skin.face);
  look.pressed = buttonStateColors_ && skin.pressed ? *skin.pressed : PressedShade(skin.face);
  button.SetLook(look);
  // Kept in step with the look for anything that reads the plain colours.
  button.SetBackColor(look.face);
  button.SetForeColor(look.text);
  if (skinFonts_ && skin.font) button.SetFont(*skin.font);
}
