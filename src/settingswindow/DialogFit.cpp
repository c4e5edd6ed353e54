#include "settingswindow/DialogFit.h"

#include <algorithm>
#include <cstdlib>
#include <map>
#include <utility>

namespace dialog_fit {
namespace {

// Controls whose tops lie this close share a row.
constexpr int kSameRow = 150;
constexpr int kLeastMargin = 120;

int Right(const rt::TwipsRect& r) { return r.left + r.width; }

}  // namespace

int FitToCaptions(const std::vector<rt::Control*>& controls, int clientWidth, const Needed& needed) {
  // Rows within each container, left to right, as designed.
  std::map<const rt::Control*, std::vector<std::vector<rt::Control*>>> rows;
  for (rt::Control* control : controls) {
    auto& inContainer = rows[control->Container()];
    auto row = std::find_if(inContainer.begin(), inContainer.end(), [&](const std::vector<rt::Control*>& r) {
      return std::abs(r.front()->Bounds().top - control->Bounds().top) <= kSameRow;
    });
    if (row == inContainer.end())
      inContainer.push_back({control});
    else
      row->push_back(control);
  }
  int growth = 0;
  // The window's own rows (its buttons) keep to its right edge and grow to the left.
  for (auto& row : rows[nullptr]) {
    if (row.front()->Kind() == rt::ControlKind::Frame) continue;
    std::sort(row.begin(), row.end(),
              [](const rt::Control* a, const rt::Control* b) { return a->Bounds().left > b->Bounds().left; });
    int previousDesignLeft = 0, previousLeft = 0;
    for (rt::Control* control : row) {
      rt::TwipsRect bounds = control->Bounds();
      const int gap = previousDesignLeft - Right(bounds);
      previousDesignLeft = bounds.left;
      const int right = previousLeft != 0 ? std::min(Right(bounds), previousLeft - gap) : Right(bounds);
      bounds.width = std::max(bounds.width, needed(*control));
      bounds.left = right - bounds.width;
      control->SetBounds(bounds);
      previousLeft = bounds.left;
    }
    growth = std::max(growth, kLeastMargin - previousLeft);
  }
  for (auto& [container, containerRows] : rows) {
    if (container == nullptr) continue;
    int designRight = 0;
    for (const auto& row : containerRows)
      for (const rt::Control* control : row) designRight = std::max(designRight, Right(control->Bounds()));
    const int margin = std::max(kLeastMargin, container->Bounds().width - designRight);
    for (auto& row : containerRows) {
      std::sort(row.begin(), row.end(),
                [](const rt::Control* a, const rt::Control* b) { return a->Bounds().left < b->Bounds().left; });
      int previousDesignRight = 0, previousRight = 0;
      for (rt::Control* control : row) {
        rt::TwipsRect bounds = control->Bounds();
        const int gap = bounds.left - previousDesignRight;
        previousDesignRight = Right(bounds);
        if (previousRight != 0) bounds.left = std::max(bounds.left, previousRight + gap);
        bounds.width = std::max(bounds.width, needed(*control));
        control->SetBounds(bounds);
        previousRight = Right(bounds);
      }
      growth = std::max(growth, previousRight + margin - container->Bounds().width);
    }
  }
  if (growth <= 0) return clientWidth;
  for (rt::Control* control : controls) {
    if (control->Container() != nullptr) continue;
    rt::TwipsRect bounds = control->Bounds();
    if (control->Kind() == rt::ControlKind::Frame)
      bounds.width += growth;
    else
      bounds.left += growth;
    control->SetBounds(bounds);
  }
  return clientWidth + growth;
}

}  // namespace dialog_fit
