// What the window shows with and without a skin, with and without the user's high-contrast
// theme: asked of the window model, so the rule the skin component installs is the one tested.
#include <gtest/gtest.h>

#include <initializer_list>
#include <vector>

#include "runtime/IconSize.h"
#include "unit/SkinnedWindow.h"

namespace {

const std::string kSkin =
    "[Skin]\nFormat = 1\nName = Tide\n[Window]\nBackground = #E3EFF8\nText = #0B3954\n"
    "[Controls]\nBackground = #D0E4F2\nText = #123456\n"
    "[Button]\nFace = #1B6CA8\nText = #FFFFFF\nHover = #2F86C6\nPressed = #12507E\nBorder = #0B3954\nFocus = #F4B400\n";

class ReadableLook : public SkinnedWindowTest {
 protected:
  std::vector<rt::Control*> Plain() { return {&window, &frame, &label, &check, &text}; }
  void Skin() {
    LoadSkinFile(kSkin);
    skins.SetOptions(SkinFramework::kSkinControls);
    ApplyToTheWindow();
  }
  rt::ShownLook Shown(const rt::Control& control, bool highContrast) const {
    return window.ShownLookOf(control, highContrast);
  }
};

TEST_F(ReadableLook, WithoutHighContrastTheDesignOrTheSkinShowsAndOnlySkinnedControlsLeaveTheStyle) {
  for (const rt::Control* control : Plain()) {
    const rt::ShownLook plain = Shown(*control, false);
    EXPECT_EQ(plain.back, rt::kWhite) << control->Name();
    EXPECT_EQ(plain.text, rt::kButtonText) << control->Name();
    EXPECT_TRUE(plain.systemStyle) << control->Name();
  }
  EXPECT_EQ(Shown(button, false).button, rt::ButtonLook{});

  Skin();
  for (const rt::Control* control : std::initializer_list<const rt::Control*>{&frame, &label, &check}) {
    const rt::ShownLook skinned = Shown(*control, false);
    EXPECT_EQ(skinned.back, rt::Rgb(0xD0, 0xE4, 0xF2)) << control->Name();
    EXPECT_EQ(skinned.text, rt::Rgb(0x12, 0x34, 0x56)) << control->Name();
    EXPECT_FALSE(skinned.systemStyle) << control->Name();
  }
  EXPECT_EQ(Shown(window, false).back, rt::Rgb(0xE3, 0xEF, 0xF8));
  EXPECT_EQ(Shown(button, false).button.face, rt::Rgb(0x1B, 0x6C, 0xA8));
  // The skin leaves the text box as it is, and so its style too.
  EXPECT_TRUE(Shown(text, false).systemStyle);
}

TEST_F(ReadableLook, HighContrastShowsOnlyTheThemesColoursSkinOrNoSkin) {
  for (bool skinned : {false, true}) {
    if (skinned) Skin();
    for (const rt::Control* control : Plain()) {
      const rt::ShownLook shown = Shown(*control, true);
      EXPECT_EQ(shown.back, rt::kWindowBack) << control->Name() << " skinned " << skinned;
      EXPECT_EQ(shown.text, rt::kWindowText) << control->Name() << " skinned " << skinned;
      EXPECT_TRUE(shown.systemStyle) << control->Name() << " skinned " << skinned;
    }
    const rt::ButtonLook look = Shown(button, true).button;
    EXPECT_EQ(look.face, rt::kButtonFace);
    EXPECT_EQ(look.text, rt::kButtonText);
    // Not one colour of the button, in any state, may stay the design's or the skin's.
    for (rt::OleColor colour : {look.face, look.hover, look.pressed, look.text, look.border, look.focus})
      EXPECT_TRUE(rt::IsSystemColor(colour)) << std::hex << colour << " skinned " << skinned;
    ASSERT_TRUE(look.hoverBorder.has_value());
    EXPECT_NE(*look.hoverBorder, look.border);  // the pointer still shows where it is
  }
  // Switched off again, the skin is back.
  EXPECT_EQ(Shown(check, false).back, rt::Rgb(0xD0, 0xE4, 0xF2));
}

TEST(IconSize, SidesScaleWithTheDpiAsTheSystemMetricsDo) {
  struct Case {
    int dpi, small, big;
  };
  for (const Case c : {Case{96, 16, 32}, Case{120, 20, 40}, Case{144, 24, 48}, Case{168, 28, 56}, Case{192, 32, 64},
                       Case{110, 18, 37}, Case{0, 16, 32}}) {
    EXPECT_EQ(rt::IconSideAt(rt::kSmallIconAt96, c.dpi), c.small) << c.dpi;
    EXPECT_EQ(rt::IconSideAt(rt::kBigIconAt96, c.dpi), c.big) << c.dpi;
  }
}

}  // namespace
