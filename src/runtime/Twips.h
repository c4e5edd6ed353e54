// Twips (1/1440 inch) to pixels at a given DPI, rounded to the nearest pixel.
#pragma once

namespace rt {

constexpr int TwipsToPixels(int twips, int dpi) {
  const long long scaled = static_cast<long long>(twips) * dpi;
  return static_cast<int>(scaled >= 0 ? (scaled + 720) / 1440 : -((-scaled + 720) / 1440));
}

constexpr int PixelsToTwips(int pixels, int dpi) {
  return dpi == 0 ? 0 : static_cast<int>((static_cast<long long>(pixels) * 1440 + dpi / 2) / dpi);
}

}  // namespace rt
