// The window in a longer language: what does not fit grows, and nothing else moves.
#include <gtest/gtest.h>

#include <map>

#include "ui/WindowFit.h"

namespace {

using layout::ControlDesign;

// Widths by caption identifier; any other caption is narrow enough for its design box.
layout::CaptionWidth Widths(std::map<rt::TextId, int> widths) {
  return [widths](const ControlDesign&, rt::TextId id) {
    const auto found = widths.find(id);
    return found != widths.end() ? found->second : 100;
  };
}

const rt::TwipsRect& BoundsOf(const layout::FittedLayout& fitted, const wchar_t* name) {
  return fitted.bounds[static_cast<std::size_t>(&layout::Find(name) - layout::kControls.data())];
}

TEST(WindowFit, CaptionsThatFitKeepTheDesignToTheTwip) {
  const auto fitted =
      layout::FitToCaptions(Widths({{rt::TextId::LoadOnStartup, 3930}, {rt::TextId::AutodragIsOn, 1350}}));
  EXPECT_EQ(fitted.clientWidth, layout::kClientWidth);
  EXPECT_EQ(fitted.clientHeight, layout::kClientHeight);
  for (std::size_t i = 0; i < layout::kControls.size(); ++i) EXPECT_EQ(fitted.bounds[i], layout::kControls[i].bounds);
}

TEST(WindowFit, ALongerCheckBoxGrowsAndPushesItsNeighbourWithinTheFrame) {
  const auto fitted = layout::FitToCaptions(Widths({{rt::TextId::LoadOnStartup, 4400}}));
  EXPECT_EQ(BoundsOf(fitted, L"Check4"), (rt::TwipsRect{240, 300, 4400, 285}));
  // The design's 150 twips between the boxes stay; the second box still ends inside the frame.
  EXPECT_EQ(BoundsOf(fitted, L"Check8"), (rt::TwipsRect{240 + 4400 + 150, 300, 2580, 285}));
  EXPECT_EQ(fitted.clientWidth, layout::kClientWidth);
  EXPECT_EQ(BoundsOf(fitted, L"Frame2"), layout::Find(L"Frame2").bounds);
}

TEST(WindowFit, ALongerSettingsCaptionGrowsItsButtonLeftwardsUntilTheStatusLineNeedsTheRoom) {
  // 2400 twips of caption and 120 on either side: the button ends where it did, 7680.
  auto fitted = layout::FitToCaptions(Widths({{rt::TextId::OpenSettings, 2400}}));
  EXPECT_EQ(BoundsOf(fitted, L"PushButton3"), (rt::TwipsRect{7680 - 2640, 225, 2640, 405}));
  EXPECT_EQ(fitted.clientWidth, layout::kClientWidth);
  // A status line that would run into it widens the window instead: 240 + 4900 + 120 = 5260
  // against the button's 5040 leaves 220 twips to find.
  fitted = layout::FitToCaptions(Widths({{rt::TextId::OpenSettings, 2400}, {rt::TextId::AutodragIsOff, 4900}}));
  EXPECT_EQ(fitted.clientWidth, layout::kClientWidth + 220);
  EXPECT_EQ(BoundsOf(fitted, L"PushButton3").left, 7680 - 2640 + 220);
}

TEST(WindowFit, WhatStillDoesNotFitWidensTheWindowAndItsFullWidthControlsByThatMuch) {
  // 240 + 5000 + 150 + 3000 + 120 = 8510: 710 twips more than the frame's 7800.
  const auto fitted = layout::FitToCaptions(Widths(
      {{rt::TextId::LoadOnStartup, 5000}, {rt::TextId::MinimizedToTray, 3000}, {rt::TextId::AutodragIsOn, 2000}}));
  EXPECT_EQ(fitted.clientWidth, layout::kClientWidth + 710);
  for (const wchar_t* name : {L"PushButton2", L"Frame2", L"Frame1", L"PushButton1"}) {
    const rt::TwipsRect design = layout::Find(name).bounds;
    EXPECT_EQ(BoundsOf(fitted, name), (rt::TwipsRect{design.left, design.top, design.width + 710, design.height}));
  }
  // The status line takes the wider of its two texts; the Settings button beside it keeps
  // to the frame's right edge.
  EXPECT_EQ(BoundsOf(fitted, L"Label1").width, 2000);
  EXPECT_EQ(BoundsOf(fitted, L"PushButton3").left, layout::Find(L"PushButton3").bounds.left + 710);
  EXPECT_EQ(BoundsOf(fitted, L"Text1"), layout::Find(L"Text1").bounds);
  EXPECT_EQ(fitted.clientHeight, layout::kClientHeight);
}

}  // namespace
