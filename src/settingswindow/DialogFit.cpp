#include "settingswindow/DialogFit.h"

#include <algorithm>
#include <cstdlib>
#include <map>
#include <utility>

#include "runtime/controls/Controls.h"

namespace dialog_fit {
namespace {

// Controls whose tops lie this close share a row.
constexpr int kSameRow = 150;
constexpr int kLeastMargin = 120;
// The line the design leaves a frame's title above its first row.
constexpr int kDesignTitle = 210;

// Room a control needs around its text, above and below together.
int AroundText(rt::ControlKind kind) {
  switch (kind) {
    case rt::ControlKind::PushButton:
      return 150;
    case rt::ControlKind::ShortcutBox:
      return 105;
    case rt::ControlKind::PressArea:
      return 240;
    default:
      return 0;
  }
}

// Whether a control's height follows its text; a slider's and a list's do not (a list
// scrolls), and a frame's title moves what it holds instead.
bool TallAsItsText(rt::ControlKind kind) {
  return kind != rt::ControlKind::Slider && kind != rt::ControlKind::ListBox && kind != rt::ControlKind::Frame;
}

using Row = std::vector<rt::Control*>;

int Right(const rt::TwipsRect& r) { return r.left + r.width; }

bool Wraps(const rt::Control& control) {
  const auto* captioned = dynamic_cast<const rt::CaptionedControl*>(&control);
  return captioned != nullptr && !captioned->Caption().empty() &&
         (control.Kind() == rt::ControlKind::Label || control.Kind() == rt::ControlKind::CheckBox);
}

bool Hidden(const Row& row) {
  return std::none_of(row.begin(), row.end(), [](const rt::Control* control) { return control->Visible(); });
}

// Rows within each container, top to bottom, each left to right, as designed. A hidden
// control beside shown ones is left out of its row; a row of hidden controls alone stays,
// to give its room back.
std::map<const rt::Control*, std::vector<Row>> RowsOf(const std::vector<rt::Control*>& controls) {
  std::map<const rt::Control*, std::vector<Row>> rows;
  for (rt::Control* control : controls) {
    auto& inContainer = rows[control->Container()];
    auto row = std::find_if(inContainer.begin(), inContainer.end(), [&](const Row& r) {
      return std::abs(r.front()->Bounds().top - control->Bounds().top) <= kSameRow;
    });
    if (row == inContainer.end())
      inContainer.push_back({control});
    else
      row->push_back(control);
  }
  for (auto& [container, containerRows] : rows) {
    for (Row& row : containerRows)
      if (!Hidden(row)) std::erase_if(row, [](const rt::Control* control) { return !control->Visible(); });
    std::sort(containerRows.begin(), containerRows.end(),
              [](const Row& a, const Row& b) { return a.front()->Bounds().top < b.front()->Bounds().top; });
    for (Row& row : containerRows)
      std::sort(row.begin(), row.end(),
                [](const rt::Control* a, const rt::Control* b) { return a->Bounds().left < b->Bounds().left; });
  }
  return rows;
}

// The window's own rows (its buttons) keep to its right edge and grow to the left. Returns
// how much wider the window must be for them.
int FitButtonRow(Row& row, const Needed& needed) {
  int previousDesignLeft = 0, previousLeft = 0;
  for (auto control = row.rbegin(); control != row.rend(); ++control) {
    rt::TwipsRect bounds = (*control)->Bounds();
    const int gap = previousDesignLeft - Right(bounds);
    previousDesignLeft = bounds.left;
    const int right = previousLeft != 0 ? std::min(Right(bounds), previousLeft - gap) : Right(bounds);
    bounds.width = std::max(bounds.width, needed(**control));
    bounds.left = right - bounds.width;
    (*control)->SetBounds(bounds);
    previousLeft = bounds.left;
  }
  return kLeastMargin - previousLeft;
}

// Flows a row inside its frame: each control to its caption's width, the design's gaps kept.
// Returns the row's right edge.
int FlowRow(Row& row, const Needed& needed) {
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
  return previousRight;
}

// Narrows the row's widest wrapping control that is still wider than designed by up to
// `excess` (never below its design width), moving what stands right of it back; it grows as
// tall as its caption then needs. Returns how much taller the row became; `right` follows
// the row's new right edge.
int WrapRow(Row& row, const std::map<const rt::Control*, rt::TwipsRect>& design, int excess, int& right,
            const HeightWithin& heightWithin) {
  rt::Control* widest = nullptr;
  for (rt::Control* control : row)
    if (Wraps(*control) && control->Bounds().width > design.at(control).width &&
        (widest == nullptr || control->Bounds().width > widest->Bounds().width))
      widest = control;
  if (widest == nullptr) return 0;
  rt::TwipsRect bounds = widest->Bounds();
  const int narrower = std::min(excess, bounds.width - design.at(widest).width);
  if (narrower <= 0) return 0;
  bounds.width -= narrower;
  const int height = std::max(bounds.height, heightWithin(*widest, bounds.width));
  const int taller = height - bounds.height;
  bounds.height = height;
  widest->SetBounds(bounds);
  for (rt::Control* control : row) {
    if (control->Bounds().left <= bounds.left) continue;
    rt::TwipsRect moved = control->Bounds();
    moved.left -= narrower;
    control->SetBounds(moved);
  }
  right -= narrower;
  return taller;
}

int DesignBottom(const Row& row, const std::map<const rt::Control*, rt::TwipsRect>& design) {
  int bottom = 0;
  for (const rt::Control* control : row) bottom = std::max(bottom, design.at(control).top + design.at(control).height);
  return bottom;
}

// The room a row of hidden controls gives back: up to the next shown row's top, or, as the
// last, down to its own bottom from the bottom of the shown row before it.
int HiddenBand(const std::vector<Row>& rows, std::size_t hidden,
               const std::map<const rt::Control*, rt::TwipsRect>& design) {
  const int top = design.at(rows[hidden].front()).top;
  for (std::size_t next = hidden + 1; next < rows.size(); ++next)
    if (!Hidden(rows[next])) return design.at(rows[next].front()).top - top;
  int previousBottom = top;
  for (std::size_t before = 0; before < hidden; ++before)
    if (!Hidden(rows[before])) previousBottom = DesignBottom(rows[before], design);
  return DesignBottom(rows[hidden], design) - previousBottom;
}

// Every control of the row as tall as its text within its width; returns how much taller
// the row became than designed.
int GrowToText(Row& row, const std::map<const rt::Control*, rt::TwipsRect>& design, const HeightWithin& heightWithin) {
  int taller = 0;
  for (rt::Control* control : row) {
    rt::TwipsRect bounds = control->Bounds();
    if (TallAsItsText(control->Kind())) {
      const int text = heightWithin(*control, bounds.width);
      if (text > 0) bounds.height = std::max(bounds.height, text + AroundText(control->Kind()));
      control->SetBounds(bounds);
    }
    taller = std::max(taller, bounds.height - design.at(control).height);
  }
  return taller;
}

void MoveDown(const Row& row, int by) {
  if (by == 0) return;
  for (rt::Control* control : row) {
    rt::TwipsRect bounds = control->Bounds();
    bounds.top += by;
    control->SetBounds(bounds);
  }
}

}  // namespace

Size FitToCaptions(const std::vector<rt::Control*>& controls, Size client, int widest, const Needed& needed,
                   const HeightWithin& heightWithin) {
  std::map<const rt::Control*, rt::TwipsRect> design;
  for (const rt::Control* control : controls) design[control] = control->Bounds();
  auto rows = RowsOf(controls);
  int growth = 0;
  for (Row& row : rows[nullptr])
    if (row.front()->Kind() != rt::ControlKind::Frame && !Hidden(row))
      growth = std::max(growth, FitButtonRow(row, needed));

  const int allowedGrowth = std::max(0, widest - client.width);
  // How much taller each frame grows with the rows in it that wrapped.
  std::map<const rt::Control*, int> taller;
  for (auto& [container, containerRows] : rows) {
    if (container == nullptr) continue;
    int designRight = 0;
    for (const Row& row : containerRows)
      if (!Hidden(row))
        for (const rt::Control* control : row) designRight = std::max(designRight, Right(control->Bounds()));
    const int width = container->Bounds().width;
    const int margin = std::max(kLeastMargin, width - designRight);
    // A larger title pushes down what the frame holds.
    int below = std::max(0, heightWithin(*container, width) - kDesignTitle);
    for (std::size_t index = 0; index < containerRows.size(); ++index) {
      Row& row = containerRows[index];
      if (Hidden(row)) {
        below -= HiddenBand(containerRows, index, design);
        continue;
      }
      MoveDown(row, below);
      int right = FlowRow(row, needed);
      // One control after another wraps, the widest first, until the row fits.
      for (int excess = right + margin - width - allowedGrowth; excess > 0;
           excess = right + margin - width - allowedGrowth) {
        const int before = right;
        WrapRow(row, design, excess, right, heightWithin);
        if (right == before) break;
      }
      below += GrowToText(row, design, heightWithin);
      growth = std::max(growth, right + margin - width);
    }
    taller[container] = below;
  }

  // The window's own controls, top to bottom: each moves down by what the frames above it grew.
  std::vector<rt::Control*> onWindow;
  for (rt::Control* control : controls)
    if (control->Container() == nullptr) onWindow.push_back(control);
  int totalTaller = 0;
  for (const auto& [frame, by] : taller) totalTaller += by;
  // The window's own buttons, as tall as their text; the window grows by the tallest.
  int buttonsTaller = 0;
  for (Row& row : rows[nullptr])
    if (row.front()->Kind() != rt::ControlKind::Frame && !Hidden(row))
      buttonsTaller = std::max(buttonsTaller, GrowToText(row, design, heightWithin));
  for (rt::Control* control : onWindow) {
    rt::TwipsRect bounds = control->Bounds();
    for (const auto& [frame, by] : taller)
      if (design.at(frame).top < design.at(control).top) bounds.top += by;
    if (control->Kind() == rt::ControlKind::Frame) {
      bounds.height += taller[control];
      if (growth > 0) bounds.width += growth;
    } else if (growth > 0) {
      bounds.left += growth;
    }
    control->SetBounds(bounds);
  }
  return Size{client.width + std::max(growth, 0), client.height + totalTaller + buttonsTaller};
}

}  // namespace dialog_fit
