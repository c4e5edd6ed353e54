// The Settings window's fit to longer captions: rows flow, frames widen up to a bound, a
// caption beyond it wraps onto more lines and what stands below moves down.
#include <gtest/gtest.h>

#include <map>

#include "runtime/controls/Controls.h"
#include "settingswindow/DialogFit.h"

namespace {

constexpr int kLine = 195;

struct Dialog {
  rt::Frame frame{L"Frame"};
  rt::CheckBox left{L"Left"}, right{L"Right"}, below{L"Below"};
  rt::PushButton ok{L"Ok"};
  std::vector<rt::Control*> all{&frame, &left, &right, &below, &ok};
  Dialog() {
    frame.SetBounds({120, 120, 5760, 2000});
    for (rt::Control* c : {&left, &right, &below}) c->SetContainer(&frame);
    for (rt::CheckBox* c : {&left, &right, &below}) c->SetCaption(c->Name());
    left.SetBounds({240, 300, 1800, 285});
    right.SetBounds({2160, 300, 1200, 285});  // 120 after Left
    below.SetBounds({240, 900, 5280, 285});
    ok.SetBounds({4800, 2200, 1080, 375});
  }
  // Each caption as wide as given; wrapped, as many lines as its width takes.
  dialog_fit::Size Fit(std::map<const rt::Control*, int> widths, int widest = 100000) {
    return dialog_fit::FitToCaptions(
        all, {6000, 2700}, widest, [&](const rt::Control& c) { return widths[&c]; },
        [&](const rt::Control& c, int width) { return (widths[&c] + width - 1) / width * kLine; });
  }
};

TEST(DialogFit, CaptionsThatFitLeaveTheDesignAndButtonsGrowToTheLeft) {
  Dialog d;
  EXPECT_EQ(d.Fit({{&d.left, 1800}, {&d.right, 900}, {&d.ok, 1500}}), (dialog_fit::Size{6000, 2700}));
  EXPECT_EQ(d.right.Bounds(), (rt::TwipsRect{2160, 300, 1200, 285}));
  EXPECT_EQ(d.ok.Bounds(), (rt::TwipsRect{5880 - 1500, 2200, 1500, 375}));
}

TEST(DialogFit, ALongCaptionPushesItsRowAlongAndWhatOverflowsWidensTheDialog) {
  Dialog d;
  // Left grows by 3000: Right follows 120 after it, ending at 240+4800+120+1200 = 6360,
  // which with the frame's inner margin (240, beside the widest row) wants it 840 wider.
  EXPECT_EQ(d.Fit({{&d.left, 4800}}).width, 6840);
  EXPECT_EQ(d.right.Bounds(), (rt::TwipsRect{5160, 300, 1200, 285}));
  EXPECT_EQ(d.frame.Bounds().width, 6600);
  EXPECT_EQ(d.ok.Bounds().left, 5640);
  EXPECT_EQ(d.below.Bounds(), (rt::TwipsRect{240, 900, 5280, 285}));
}

// Past the widest the dialog may be (600 wider than designed), the longest caption of the
// row wraps: its row grows by the lines it takes, and the rows, frame and buttons below move
// down by as much. Row one (Left, Right) overflows from Left at 4560; row two (Below) at 5880.
TEST(DialogFit, CaptionsBeyondTheWidestWrapAndPushWhatIsBelowDown) {
  struct Case {
    const char* what;
    bool inFirstRow;
    int caption;
    dialog_fit::Size client;
    rt::TwipsRect wrapped;
    int belowTop;
  };
  const Case cases[] = {
      {"below, fits the design", false, 5280, {6000, 2700}, {240, 900, 5280, 285}, 900},
      {"below, widens a little", false, 5800, {6520, 2700}, {240, 900, 5800, 285}, 900},
      {"below, two lines", false, 8000, {6600, 2805}, {240, 900, 5880, 2 * kLine}, 900},
      {"below, three lines", false, 12000, {6600, 3000}, {240, 900, 5880, 3 * kLine}, 900},
      {"below, four lines", false, 20000, {6600, 3195}, {240, 900, 5880, 4 * kLine}, 900},
      {"left, widens a little", true, 4300, {6340, 2700}, {240, 300, 4300, 285}, 900},
      {"left, two lines", true, 6000, {6600, 2805}, {240, 300, 4560, 2 * kLine}, 1005},
      {"left, three lines", true, 10000, {6600, 3000}, {240, 300, 4560, 3 * kLine}, 1200},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    Dialog d;
    rt::CheckBox& grown = c.inFirstRow ? d.left : d.below;
    const dialog_fit::Size client = d.Fit({{&grown, c.caption}}, 6600);
    EXPECT_EQ(client, c.client);
    EXPECT_EQ(grown.Bounds(), c.wrapped);
    EXPECT_EQ(d.below.Bounds().top, c.belowTop);
    const int taller = client.height - 2700;
    EXPECT_EQ(d.frame.Bounds().height, 2000 + taller);
    EXPECT_EQ(d.ok.Bounds().top, 2200 + taller);
    EXPECT_LE(d.frame.Bounds().width, 6600 - 240) << "never wider than the widest";
    // Right keeps its gap after Left, however Left came out.
    EXPECT_EQ(d.right.Bounds().left, d.left.Bounds().left + d.left.Bounds().width + 120);
  }
}

// What is hidden takes no room: a hidden control beside shown ones neither pushes nor
// narrows them, and a row of hidden controls alone gives its band back to what is below.
TEST(DialogFit, HiddenControlsTakeNoRoom) {
  struct Case {
    const char* what;
    bool rightHidden, belowHidden;
    int leftCaption;
    dialog_fit::Size client;
    int leftWidth, frameHeight, okTop;
  };
  const Case cases[] = {
      {"all shown: Right makes Left wrap", false, false, 6000, {6600, 2805}, 4560, 2105, 2305},
      {"Right hidden: Left takes the row", true, false, 5000, {6000, 2700}, 5000, 2000, 2200},
      {"the last row hidden: the frame ends under the first", false, true, 1800, {6000, 2100}, 1800, 1400, 1600},
      {"the first row hidden: the last moves up", true, true, 1800, {6000, 2100}, 1800, 1400, 1600},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    Dialog d;
    d.right.SetVisible(!c.rightHidden);
    d.below.SetVisible(!c.belowHidden);
    if (c.rightHidden && c.belowHidden) {  // the first row hidden instead
      d.left.SetVisible(false);
      d.below.SetVisible(true);
    }
    const dialog_fit::Size client = d.Fit({{&d.left, c.leftCaption}}, 6600);
    EXPECT_EQ(client, c.client);
    if (d.left.Visible()) {
      EXPECT_EQ(d.left.Bounds().width, c.leftWidth);
    }
    EXPECT_EQ(d.frame.Bounds().height, c.frameHeight);
    EXPECT_EQ(d.ok.Bounds().top, c.okTop);
    if (!d.left.Visible()) {
      EXPECT_EQ(d.below.Bounds().top, 300);
    }
  }
}

}  // namespace
