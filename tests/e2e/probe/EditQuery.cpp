// "edit CLASS INDEX...": the selection of the edit control inside the top-level window of
// that class, and where on the screen the given characters start. A scenario clicks at
// those points and then reads back what the clicks selected.
#include <windows.h>

#include <string>

#include "Modes.h"
#include "Text.h"

namespace probe {

int RunEditQuery(const Arguments& args) {
  if (args.size() < 2) return 2;
  const HWND top = FindWindowW(args[1].c_str(), nullptr);
  const HWND edit = top ? FindWindowExW(top, nullptr, L"Edit", nullptr) : nullptr;
  if (edit == nullptr) {
    WriteStdout("{\"found\": false}\n");
    return 1;
  }
  // Pointers would not cross into the other process; the packed result does.
  const LRESULT selection = SendMessageW(edit, EM_GETSEL, 0, 0);
  const unsigned start = LOWORD(selection), end = HIWORD(selection);
  std::string points;
  for (std::size_t i = 2; i < args.size(); ++i) {
    const LRESULT packed = SendMessageW(edit, EM_POSFROMCHAR, std::stoul(args[i]), 0);
    POINT p{static_cast<SHORT>(LOWORD(packed)), static_cast<SHORT>(HIWORD(packed))};
    ClientToScreen(edit, &p);
    points += (points.empty() ? "" : ", ") + ("[" + std::to_string(p.x) + ", " + std::to_string(p.y) + "]");
  }
  const int lineHeight = [&] {
    TEXTMETRICW metrics{};
    const HDC dc = GetDC(edit);
    const HGDIOBJ old = SelectObject(dc, reinterpret_cast<HGDIOBJ>(SendMessageW(edit, WM_GETFONT, 0, 0)));
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
