#include "runtime/TextSize.h"

#include <algorithm>
#include <cmath>

namespace rt {

double TextSizeFactor(const Font& messageFont) {
  return std::max(1.0, messageFont.points / kDefaultMessagePoints);
}

Font Grown(Font design, double factor) {
  // Whole quarter points, as a font dialog offers them: the same size always makes the same font.
  design.points = static_cast<double>(std::lround(design.points * factor * 4)) / 4;
  return design;
}

TwipsRect Taller(const TwipsRect& design, double factor) {
  const auto grown = [factor](int twips) { return static_cast<int>(std::lround(twips * factor)); };
  return TwipsRect{design.left, grown(design.top), design.width, grown(design.height)};
}

}  // namespace rt
