// The skin component on a window model: what a loaded skin changes, and what its option
// flags and two Boolean options decide.
#include <gtest/gtest.h>

#include "runtime/Failure.h"
#include "unit/SkinnedWindow.h"

namespace {

const std::string kTide =
    "[Skin]\nFormat = 1\nName = Tide\n"
    "[Window]\nBackground = #E3EFF8\nText = #0B3954\nFont = Tahoma, 9, bold\n"
    "[Controls]\nBackground = #D0E4F2\nText = #123456\n"
    "[Button]\nFace = #1B6CA8\nText = #FFFFFF\nHover = #2F86C6\nPressed = #12507E\n"
    "Border = #0B3954\nFocus = #F4B400\nFont = Tahoma, 11, bold\n";

int Brightness(rt::OleColor c) { return (c & 0xFF) + ((c >> 8) & 0xFF) + ((c >> 16) & 0xFF); }

class SkinComponent : public SkinnedWindowTest {
 protected:
  SkinComponent() {
    window.SetFont(plainFont);
    button.SetFont(plainFont);
  }

  // Start-up's way of using the component: every option on.
  void LoadAndApplyWithEverythingOn(const std::string& skinText) {
    LoadSkinFile(skinText);
    skins.SetOptions(skins.Options() | SkinFramework::kSkinControls);
    skins.SetButtonStateColors(true);
    skins.SetSkinFonts(true);
    ApplyToTheWindow();
  }

  void ExpectAllAsLaidOut() const {
    for (const rt::Control* control : window.Controls()) EXPECT_EQ(control->BackColor(), rt::kWhite) << control->Name();
    EXPECT_EQ(window.BackColor(), rt::kWhite);
    EXPECT_EQ(window.OwnFont(), plainFont);
    EXPECT_EQ(button.Look(), rt::ButtonLook{});
  }

  const rt::Font plainFont{L"Arial", 9.0, true, 204};
};

TEST_F(SkinComponent, AValidSkinDressesTheWindowItsControlsAndItsButtons) {
  LoadAndApplyWithEverythingOn(kTide);
  ASSERT_TRUE(skins.SkinLoaded());
  EXPECT_EQ(window.BackColor(), rt::Rgb(0xE3, 0xEF, 0xF8));
  EXPECT_EQ(window.ForeColor(), rt::Rgb(0x0B, 0x39, 0x54));
  EXPECT_EQ(window.OwnFont(), (rt::Font{L"Tahoma", 9.0, true, 1}));
  for (rt::Control* control : std::initializer_list<rt::Control*>{&frame, &label, &check, &option}) {
    EXPECT_EQ(control->BackColor(), rt::Rgb(0xD0, 0xE4, 0xF2)) << control->Name();
    EXPECT_EQ(control->ForeColor(), rt::Rgb(0x12, 0x34, 0x56)) << control->Name();
  }
  const rt::ButtonLook expected{rt::Rgb(0x1B, 0x6C, 0xA8), rt::Rgb(0x2F, 0x86, 0xC6), rt::Rgb(0x12, 0x50, 0x7E),
                                rt::Rgb(0xFF, 0xFF, 0xFF), rt::Rgb(0x0B, 0x39, 0x54), rt::Rgb(0xF4, 0xB4, 0x00)};
  EXPECT_EQ(button.Look(), expected);
  EXPECT_EQ(button.BackColor(), expected.face);
  EXPECT_EQ(button.OwnFont(), (rt::Font{L"Tahoma", 11.0, true, 1}));
  EXPECT_EQ(text.BackColor(), rt::kWhite);  // the text box keeps its look
}

TEST_F(SkinComponent, WithoutTheControlsSectionTheControlsTakeTheWindowColours) {
  LoadAndApplyWithEverythingOn(
      "[Skin]\nFormat=1\n[Window]\nBackground=#010203\nText=#040506\n[Button]\nFace=#070809\n");
  EXPECT_EQ(frame.BackColor(), rt::Rgb(1, 2, 3));
  EXPECT_EQ(check.ForeColor(), rt::Rgb(4, 5, 6));
  // What the skin leaves out stays as it was.
  EXPECT_EQ(window.OwnFont(), plainFont);
  EXPECT_EQ(button.Look().text, rt::ButtonLook{}.text);
  EXPECT_EQ(button.Look().focus, rt::ButtonLook{}.focus);
}

TEST_F(SkinComponent, WhatIsNotASkinLoadsNothingAndChangesNothing) {
  LoadAndApplyWithEverythingOn("[Skin]\nFormat=1\n[Window]\nBackground=#010203\n");  // no [Button]
  EXPECT_FALSE(skins.SkinLoaded());
  ExpectAllAsLaidOut();

  skins.LoadSkin(L"C:\\nowhere\\o.cjs", L"");  // no such file
  EXPECT_FALSE(skins.SkinLoaded());

  // Larger than a skin may be: not even read.
  fake::FakeFile huge;
  huge.bytes.assign(kTide.begin(), kTide.end());
  huge.bytes.resize(skin::kMaxFileBytes + 1, ' ');
  files.Put(kPath, huge);
  skins.LoadSkin(kPath, L"");
  EXPECT_FALSE(skins.SkinLoaded());
  skins.ApplyWindow(static_cast<std::int32_t>(kWindow));
  ExpectAllAsLaidOut();
}

TEST_F(SkinComponent, ALoadDropsTheSkinLoadedBeforeAndASchemeMustMatchTheSkinsName) {
  files.PutText(kPath, kTide);
  skins.LoadSkin(kPath, L"tIDE");
  EXPECT_TRUE(skins.SkinLoaded());
  skins.LoadSkin(kPath, L"Forest");
  EXPECT_FALSE(skins.SkinLoaded());
  skins.LoadSkin(kPath, L"");
  ASSERT_TRUE(skins.SkinLoaded());
  files.PutText(kPath, "not a skin");
  skins.LoadSkin(kPath, L"");
  EXPECT_FALSE(skins.SkinLoaded());
}

TEST_F(SkinComponent, WithoutTheControlsFlagOnlyTheWindowItselfChanges) {
  files.PutText(kPath, kTide);
  skins.LoadSkin(kPath, L"");
  skins.SetOptions(0x40);  // a bit without meaning is kept, and does not dress the controls
  skins.SetButtonStateColors(true);
  skins.SetSkinFonts(true);
  skins.ApplyWindow(static_cast<std::int32_t>(kWindow));
  EXPECT_EQ(skins.Options(), 0x40);
  EXPECT_EQ(window.BackColor(), rt::Rgb(0xE3, 0xEF, 0xF8));
  EXPECT_EQ(window.OwnFont().name, L"Tahoma");
  for (const rt::Control* control : window.Controls()) EXPECT_EQ(control->BackColor(), rt::kWhite) << control->Name();
  EXPECT_EQ(button.Look(), rt::ButtonLook{});
  EXPECT_EQ(button.OwnFont(), plainFont);
}

TEST_F(SkinComponent, WithoutSkinFontsTheFontsStayAsLaidOut) {
  files.PutText(kPath, kTide);
  skins.LoadSkin(kPath, L"");
  skins.SetOptions(SkinFramework::kSkinControls);
  skins.ApplyWindow(static_cast<std::int32_t>(kWindow));
  EXPECT_EQ(window.OwnFont(), plainFont);
  EXPECT_EQ(button.OwnFont(), plainFont);
  EXPECT_EQ(button.Look().face, rt::Rgb(0x1B, 0x6C, 0xA8));
}

TEST_F(SkinComponent, WithoutButtonStateColoursHoverAndPressedAreReadableShadesOfTheFace) {
  files.PutText(kPath, kTide);  // a dark face, with hover and pressed colours of its own
  skins.LoadSkin(kPath, L"");
  skins.SetOptions(SkinFramework::kSkinControls);
  skins.ApplyWindow(static_cast<std::int32_t>(kWindow));
  const rt::ButtonLook dark = button.Look();
  EXPECT_NE(dark.hover, rt::Rgb(0x2F, 0x86, 0xC6));
  EXPECT_GT(Brightness(dark.hover), Brightness(dark.face));
  EXPECT_LT(Brightness(dark.pressed), Brightness(dark.face));

  // A light face, and a skin that gives no state colours although they are asked for.
  files.PutText(kPath, "[Skin]\nFormat=1\n[Window]\nBackground=#FFFFFF\n[Button]\nFace=#F0F0F0\n");
  skins.LoadSkin(kPath, L"");
  skins.SetButtonStateColors(true);
  skins.ApplyWindow(static_cast<std::int32_t>(kWindow));
  const rt::ButtonLook light = button.Look();
  EXPECT_LT(Brightness(light.hover), Brightness(light.face));
  EXPECT_LT(Brightness(light.pressed), Brightness(light.hover));
}

TEST_F(SkinComponent, ApplyingToAWindowThatIsNotItsOwnIsAFailure) {
  files.PutText(kPath, kTide);
  skins.LoadSkin(kPath, L"");
  EXPECT_THROW(skins.ApplyWindow(0x2002), rt::Failure);
  ExpectAllAsLaidOut();
}

}  // namespace
