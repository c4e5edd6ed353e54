#include "ui/WindowFit.h"

#include <algorithm>

namespace layout {
namespace {

// Room the design leaves between a frame's edge and what it holds, and between the two
// check boxes; the growth keeps them.
constexpr int kInnerMargin = 120;
constexpr int kBetweenCheckBoxes = 4320 - (240 + 3930);

std::size_t IndexOf(const wchar_t* name) { return static_cast<std::size_t>(&Find(name) - kControls.data()); }

int Needed(const CaptionWidth& width, const ControlDesign& control) {
  int needed = 0;
  for (rt::TextId caption : {control.caption, control.otherCaption})
    if (caption != kNoText) needed = std::max(needed, width(control, caption));
  return needed;
}

}  // namespace

FittedLayout FitToCaptions(const CaptionWidth& width, double taller, int widest) {
  FittedLayout fitted;
  for (std::size_t i = 0; i < kControls.size(); ++i) fitted.bounds[i] = rt::Taller(kControls[i].bounds, taller);
  fitted.clientHeight = rt::Taller({0, 0, 0, kClientHeight}, taller).height;
  auto& check4 = fitted.bounds[IndexOf(L"Check4")];
  auto& check8 = fitted.bounds[IndexOf(L"Check8")];
  auto& label1 = fitted.bounds[IndexOf(L"Label1")];
  auto& settingsButton = fitted.bounds[IndexOf(L"PushButton3")];

  // What the controls inside the frames need; then how much wider the frames must be.
  check4.width = std::max(check4.width, Needed(width, Find(L"Check4")));
  check8.left = std::max(check8.left, check4.left + check4.width + kBetweenCheckBoxes);
  check8.width = std::max(check8.width, Needed(width, Find(L"Check8")));
  label1.width = std::max(label1.width, Needed(width, Find(L"Label1")));
  // The Settings button keeps to the frame's right edge and grows to the left; the status
  // line must end before it.
  const int settingsRight = settingsButton.left + settingsButton.width;
  settingsButton.width = std::max(settingsButton.width, Needed(width, Find(L"PushButton3")) + 2 * kInnerMargin);
  settingsButton.left = settingsRight - settingsButton.width;
  const int frameWidth = Find(L"Frame2").bounds.width;
  // The captions of the frames and buttons themselves, across the window's width.
  int growth = std::max(0, label1.left + label1.width + kInnerMargin - settingsButton.left);
  for (const wchar_t* name : {L"PushButton2", L"PushButton1", L"Frame1", L"Frame2"}) {
    const ControlDesign& control = Find(name);
    growth = std::max(growth, Needed(width, control) + 2 * kInnerMargin - control.bounds.width);
  }
  const int besideGrowth = check8.left + check8.width + kInnerMargin - frameWidth;
  if (widest > 0 && fitted.clientWidth + std::max(growth, besideGrowth) > widest) {
    // Too wide for the screen side by side: the second check box goes under the first, and
    // the frame and everything below it make room.
    const int down = check4.height + kInnerMargin / 2;
    check8.left = check4.left;
    check8.top = check4.top + down;
    const rt::TwipsRect frame = fitted.bounds[IndexOf(L"Frame2")];
    fitted.bounds[IndexOf(L"Frame2")].height += down;
    for (std::size_t i = 0; i < kControls.size(); ++i)
      if (kControls[i].container == nullptr && fitted.bounds[i].top > frame.top) fitted.bounds[i].top += down;
    fitted.clientHeight += down;
    growth = std::max(growth, std::max(check4.width, check8.width) + check4.left + kInnerMargin - frameWidth);
  } else {
    growth = std::max(growth, besideGrowth);
  }
  if (growth == 0) return fitted;
  fitted.clientWidth += growth;
  settingsButton.left += growth;
  for (std::size_t i = 0; i < kControls.size(); ++i)
    if (kControls[i].container == nullptr && kControls[i].bounds.width == frameWidth) fitted.bounds[i].width += growth;
  return fitted;
}

}  // namespace layout
