// "fit TITLE": for each visible child window of that top-level window, the width its text
// takes in the control's own font against the width the control gives it, in pixels, as
// JSON. What a translation needs is measured where it is shown, by another program.
#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

#include "Modes.h"
#include "Text.h"

namespace probe {
namespace {

BOOL CALLBACK CollectChild(HWND window, LPARAM param) {
  reinterpret_cast<std::vector<HWND>*>(param)->push_back(window);
  return TRUE;
}

std::wstring TextOf(HWND window) {
  wchar_t text[1024] = {};
  DWORD_PTR copied = 0;
  if (SendMessageTimeoutW(window, WM_GETTEXT, 1024, reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG, 1000, &copied) ==
      0)
    return L"";
  return std::wstring(text, copied < 1024 ? copied : 1023);
}

std::wstring ClassOf(HWND window) {
  wchar_t name[256] = {};
  GetClassNameW(window, name, 256);
  return name;
}

std::string Quoted(const std::wstring& text) {
  std::string out = "\"";
  for (char c : ToUtf8(text)) {
    if (c == '"' || c == '\\') out += '\\';
    if (static_cast<unsigned char>(c) >= 0x20) out += c;
  }
  return out + "\"";
}

// What the control keeps for itself beside its text, at 96 DPI: a check box's box and the
// gap after it; a group box's caption indent on both sides; a push button's edges.
int KeptBeside(const std::wstring& cls, LONG style) {
  if (cls != L"Button") return 0;
  switch (style & BS_TYPEMASK) {
    case BS_CHECKBOX:
    case BS_AUTOCHECKBOX:
    case BS_RADIOBUTTON:
    case BS_AUTORADIOBUTTON:
    case BS_3STATE:
    case BS_AUTO3STATE: return 13 + 4;
    case BS_GROUPBOX: return 2 * 8;
    default: return 2 * 4;
  }
}

}  // namespace

int RunFit(const Arguments& args) {
  if (args.size() < 2) return 2;
  // In the window's own pixels, whatever the DPI: the probe must not be scaled as an old program.
  SetThreadDpiAwarenessContext(DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE_V2);
  HWND window = FindWindowW(nullptr, args[1].c_str());
  if (window == nullptr) return 1;
  std::vector<HWND> children;
  EnumChildWindows(window, CollectChild, reinterpret_cast<LPARAM>(&children));
  const int dpi = static_cast<int>(GetDpiForWindow(window));
  std::string json = "{\"dpi\": " + std::to_string(dpi) + ", \"controls\": [";
  bool first = true;
  for (HWND child : children) {
    const std::wstring text = TextOf(child);
    if (!IsWindowVisible(child) || text.empty()) continue;
    // The control's own font, as it draws with it; a font handle is no use in another
    // process, but what it describes is.
    auto font = reinterpret_cast<HFONT>(SendMessageW(child, WM_GETFONT, 0, 0));
    LOGFONTW described{};
    if (font == nullptr || GetObjectW(font, sizeof described, &described) == 0) {
      WriteStdout("{\"error\": \"no font for " + ToUtf8(text) + "\"}\n");
      return 1;
    }
    HFONT made = CreateFontIndirectW(&described);
    HDC screen = GetDC(nullptr);
    HGDIOBJ before = SelectObject(screen, made);
    RECT box{0, 0, 0, 0};
    DrawTextW(screen, text.c_str(), static_cast<int>(text.size()), &box, DT_CALCRECT | DT_SINGLELINE | DT_NOPREFIX);
    SelectObject(screen, before);
    ReleaseDC(nullptr, screen);
    DeleteObject(made);
    RECT client{};
    GetClientRect(child, &client);
    const std::wstring cls = ClassOf(child);
    const int available = client.right - MulDiv(KeptBeside(cls, GetWindowLongW(child, GWL_STYLE)), dpi, 96);
    json += std::string(first ? "" : ",") + "\n  {\"class\": " + Quoted(cls) + ", \"text\": " + Quoted(text) +
            ", \"face\": " + Quoted(described.lfFaceName) + ", \"height\": " + std::to_string(described.lfHeight) +
            ", \"needed\": " + std::to_string(box.right - box.left) + ", \"available\": " + std::to_string(available) +
            "}";
    first = false;
  }
  WriteStdout(json + "\n]}\n");
  return 0;
}

}  // namespace probe
