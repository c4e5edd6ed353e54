// The probe's hook library: loaded into the measured program by a message hook, it measures
// each visible control's text there, with the font the control draws with, and hands the
// answer back through shared memory.
#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

#include "FitShared.h"

namespace {

std::string Utf8(const std::wstring& text) {
  if (text.empty()) return {};
  const int size =
      WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
  std::string out(static_cast<size_t>(size), '\0');
  WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), out.data(), size, nullptr, nullptr);
  return out;
}

std::string Quoted(const std::wstring& text) {
  std::string out = "\"";
  for (char c : Utf8(text)) {
    if (c == '"' || c == '\\') out += '\\';
    if (static_cast<unsigned char>(c) >= 0x20) out += c;
  }
  return out + "\"";
}

BOOL CALLBACK CollectChild(HWND window, LPARAM param) {
  reinterpret_cast<std::vector<HWND>*>(param)->push_back(window);
  return TRUE;
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
    case BS_AUTO3STATE:
      return 13 + 4;
    case BS_GROUPBOX:
      return 2 * 8;
    default:
      return 2 * 4;
  }
}

std::string Measure(HWND window) {
  std::vector<HWND> children;
  EnumChildWindows(window, CollectChild, reinterpret_cast<LPARAM>(&children));
  const int dpi = static_cast<int>(GetDpiForWindow(window));
  std::string json = "{\"dpi\": " + std::to_string(dpi) + ", \"controls\": [";
  bool first = true;
  for (HWND child : children) {
    wchar_t buffer[1024] = {};
    const std::wstring text(buffer, static_cast<size_t>(GetWindowTextW(child, buffer, 1024)));
    if (!IsWindowVisible(child) || text.empty()) continue;
    wchar_t cls[64] = {};
    GetClassNameW(child, cls, 64);
    const auto font = reinterpret_cast<HFONT>(SendMessageW(child, WM_GETFONT, 0, 0));
    LOGFONTW described{};
    GetObjectW(font != nullptr ? static_cast<HGDIOBJ>(font) : GetStockObject(SYSTEM_FONT), sizeof described,
               &described);
    HDC dc = GetDC(child);
    HGDIOBJ before = SelectObject(dc, font != nullptr ? static_cast<HGDIOBJ>(font) : GetStockObject(SYSTEM_FONT));
    RECT box{0, 0, 0, 0};
    DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &box, DT_CALCRECT | DT_SINGLELINE | DT_NOPREFIX);
    RECT client{};
    GetClientRect(child, &client);
    RECT onScreen{};
    GetWindowRect(child, &onScreen);
    const LONG style = GetWindowLongW(child, GWL_STYLE);
    const int available = client.right - MulDiv(KeptBeside(cls, style), dpi, 96);
    // A label that wraps, or a check box of several lines: how tall its text is wrapped
    // within its width, against how tall it is.
    const bool wraps = (lstrcmpiW(cls, L"Static") == 0 && (style & SS_TYPEMASK) == SS_LEFT) ||
                       (lstrcmpiW(cls, L"Button") == 0 && (style & BS_MULTILINE) != 0);
    RECT wrapped{0, 0, available, 0};
    DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &wrapped, DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX);
    SelectObject(dc, before);
    ReleaseDC(child, dc);
    json += std::string(first ? "" : ",") + "\n  {\"class\": " + Quoted(cls) + ", \"text\": " + Quoted(text) +
            ", \"face\": " + Quoted(described.lfFaceName) + ", \"height\": " + std::to_string(described.lfHeight) +
            ", \"own_font\": " + (font != nullptr ? "true" : "false") +
            ", \"needed\": " + std::to_string(box.right - box.left) + ", \"available\": " + std::to_string(available) +
            ", \"wraps\": " + (wraps ? "true" : "false") +
            ", \"wrapped_height\": " + std::to_string(wrapped.bottom - wrapped.top) +
            ", \"client_height\": " + std::to_string(client.bottom) + ", \"rect\": [" + std::to_string(onScreen.left) +
            ", " + std::to_string(onScreen.top) + ", " + std::to_string(onScreen.right) + ", " +
            std::to_string(onScreen.bottom) + "]}";
    first = false;
  }
  return json + "\n]}\n";
}

}  // namespace

extern "C" __declspec(dllexport) LRESULT CALLBACK FitHookProc(int code, WPARAM wParam, LPARAM lParam) {
  static const UINT fitMessage = RegisterWindowMessageW(probe::kFitMessage);
  auto* message = reinterpret_cast<MSG*>(lParam);
  if (code == HC_ACTION && wParam == PM_REMOVE && message->message == fitMessage) {
    message->message = WM_NULL;  // the program never sees it
    HANDLE mapping = OpenFileMappingW(FILE_MAP_ALL_ACCESS, FALSE, probe::kFitMapping);
    auto* request =
        mapping ? static_cast<probe::FitRequest*>(MapViewOfFile(mapping, FILE_MAP_ALL_ACCESS, 0, 0, 0)) : nullptr;
    if (request != nullptr) {
      const std::string json = Measure(request->window);
      std::snprintf(request->json, sizeof request->json, "%s", json.c_str());
      UnmapViewOfFile(request);
    }
    if (mapping) CloseHandle(mapping);
    if (HANDLE done = OpenEventW(EVENT_MODIFY_STATE, FALSE, probe::kFitDone)) {
      SetEvent(done);
      CloseHandle(done);
    }
  }
  return CallNextHookEx(nullptr, code, wParam, lParam);
}
