// "edit CLASS INDEX...": the selection of the edit control inside the top-level window of
// that class, and where on the screen the given characters start. A scenario clicks at
// those points and then reads back what the clicks selected.
#include <windows.h>

#include <string>

#include "Modes.h"
#include "Text.h"

namespace probe {
namespace {

// Only messages whose answer comes back whole in the result: pointers would not cross
// into the other process.
LRESULT Ask(HWND window, UINT message, WPARAM wParam) { return SendMessageW(window, message, wParam, 0); }

}  // namespace

int RunEditQuery(const Arguments& args) {
  if (args.size() < 2) return 2;
  const HWND top = FindWindowW(args[1].c_str(), nullptr);
  const HWND edit = top ? FindWindowExW(top, nullptr, L"Edit", nullptr) : nullptr;
  if (edit == nullptr) {
    WriteStdout("{\"found\": false}\n");
    return 1;
  }
  const LRESULT selection = Ask(edit, EM_GETSEL, 0);
  const unsigned start = LOWORD(selection), end = HIWORD(selection);
  std::string points;
  for (std::size_t i = 2; i < args.size(); ++i) {
    const LRESULT packed = Ask(edit, EM_POSFROMCHAR, std::stoul(args[i]));
    POINT p{static_cast<SHORT>(LOWORD(packed)), static_cast<SHORT>(HIWORD(packed))};
    ClientToScreen(edit, &p);
    if (!points.empty()) points.append(", ");
    points.append("[").append(std::to_string(p.x)).append(", ").append(std::to_string(p.y)).append("]");
  }
  const int lineHeight = [&] {
    TEXTMETRICW metrics{};
    const HDC dc = GetDC(edit);
    const HGDIOBJ old = SelectObject(dc, reinterpret_cast<HGDIOBJ>(Ask(edit, WM_GETFONT, 0)));
    GetTextMetricsW(dc, &metrics);
    SelectObject(dc, old);
    ReleaseDC(edit, dc);
    return static_cast<int>(metrics.tmHeight);
  }();
  WriteStdout("{\"found\": true, \"selection\": [" + std::to_string(start) + ", " + std::to_string(end) +
              "], \"line_height\": " + std::to_string(lineHeight) + ", \"points\": [" + points + "]}\n");
  return 0;
}

}  // namespace probe
