// Sets the user's text size as Windows' accessibility settings do: the message font grows
// to that share of 9 points, is written to the user's settings and announced to every
// top-level window with WM_SETTINGCHANGE.
#include <windows.h>

#include <cmath>
#include <string>

#include "Modes.h"
#include "Text.h"

namespace probe {

int RunTextSize(const Arguments& args) {
  if (args.size() != 2) {
    WriteStdout("usage: probe textsize PERCENT\n");
    return 2;
  }
  const double percent = std::stod(args[1]);
  NONCLIENTMETRICSW metrics{};
  metrics.cbSize = sizeof(metrics);
  if (!SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0)) return 1;
  HDC screen = GetDC(nullptr);
  const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
  ReleaseDC(nullptr, screen);
  metrics.lfMessageFont.lfHeight = -static_cast<LONG>(std::lround(9.0 * percent / 100.0 * dpi / 72.0));
  return SystemParametersInfoW(SPI_SETNONCLIENTMETRICS, sizeof(metrics), &metrics,
                               SPIF_UPDATEINIFILE | SPIF_SENDCHANGE)
             ? 0
             : 1;
}

}  // namespace probe
