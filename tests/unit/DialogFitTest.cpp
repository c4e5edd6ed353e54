// The Settings window's fit to longer captions: rows flow, frames widen, the buttons below move.
#include <gtest/gtest.h>

#include <map>

#include "runtime/controls/Controls.h"
#include "settingswindow/DialogFit.h"

namespace {

struct Dialog {
  rt::Frame frame{L"Frame"};
  rt::CheckBox left{L"Left"}, right{L"Right"}, below{L"Below"};
  rt::PushButton ok{L"Ok"};
  std::vector<rt::Control*> all{&frame, &left, &right, &below, &ok};
  Dialog() {
    frame.SetBounds({120, 120, 5760, 2000});
    for (rt::Control* c : {&left, &right, &below}) c->SetContainer(&frame);
    left.SetBounds({240, 300, 1800, 285});
    right.SetBounds({2160, 300, 1200, 285});  // 120 after Left
    below.SetBounds({240, 900, 5280, 285});
    ok.SetBounds({4800, 2200, 1080, 375});
  }
  int Fit(std::map<const rt::Control*, int> widths) {
    return dialog_fit::FitToCaptions(all, 6000, [&](const rt::Control& c) { return widths[&c]; });
  }
};

TEST(DialogFit, CaptionsThatFitLeaveTheDesign) {
  Dialog d;
  EXPECT_EQ(d.Fit({{&d.left, 1800}, {&d.right, 900}}), 6000);
  EXPECT_EQ(d.right.Bounds(), (rt::TwipsRect{2160, 300, 1200, 285}));
  EXPECT_EQ(d.ok.Bounds().left, 4800);
}

TEST(DialogFit, ALongCaptionPushesItsRowAlongAndWhatOverflowsWidensTheDialog) {
  Dialog d;
  // Left grows by 3000: Right follows 120 after it, ending at 240+4800+120+1200 = 6360,
  // which with the frame's inner margin (240, beside the widest row) wants it 840 wider.
  EXPECT_EQ(d.Fit({{&d.left, 4800}}), 6840);
  EXPECT_EQ(d.right.Bounds(), (rt::TwipsRect{5160, 300, 1200, 285}));
  EXPECT_EQ(d.frame.Bounds().width, 6600);
  EXPECT_EQ(d.ok.Bounds().left, 5640);
  EXPECT_EQ(d.below.Bounds(), (rt::TwipsRect{240, 900, 5280, 285}));
}

TEST(DialogFit, TheButtonsBelowGrowToTheLeftFromTheWindowsEdge) {
  Dialog d;
  EXPECT_EQ(d.Fit({{&d.ok, 1500}}), 6000);
  EXPECT_EQ(d.ok.Bounds(), (rt::TwipsRect{5880 - 1500, 2200, 1500, 375}));
}

}  // namespace
