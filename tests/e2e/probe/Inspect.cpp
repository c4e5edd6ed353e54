// "inspect [--all] TITLE" / "inspect [--all] --class CLASS": where a top-level window is,
// whether it shows, and what its child windows say, so the harness clicks what a person
// would see instead of guessing coordinates.
#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

#include "Modes.h"
#include "Text.h"

namespace probe {
namespace {

std::string Json(const std::wstring& text) {
  std::string out = "\"";
  for (char c : ToUtf8(text)) {
    const auto byte = static_cast<unsigned char>(c);
    if (c == '"' || c == '\\') {
      out += '\\';
      out += c;
    } else if (byte < 0x20) {
      char escaped[8];
      std::snprintf(escaped, sizeof escaped, "\\u%04x", byte);
      out += escaped;
    } else {
      out += c;
    }
  }
  return out + "\"";
}

std::string Json(const RECT& r) {
  char text[96];
  std::snprintf(text, sizeof text, "[%ld, %ld, %ld, %ld]", r.left, r.top, r.right, r.bottom);
  return text;
}

std::string Json(HWND window) {
  char text[32];
  std::snprintf(text, sizeof text, "\"0x%llx\"", static_cast<unsigned long long>(reinterpret_cast<UINT_PTR>(window)));
  return text;
}

const char* Json(bool value) { return value ? "true" : "false"; }

std::wstring ClassOf(HWND window) {
  wchar_t name[256] = {};
  GetClassNameW(window, name, 256);
  return name;
}

std::wstring TitleOf(HWND window) {
  wchar_t text[512] = {};
  InternalGetWindowText(window, text, 512);
  return text;
}

// Asks the window for its text as an accessibility tool would; a window that does not
// answer within a second gets its stored title read instead.
std::wstring TextOf(HWND window) {
  wchar_t text[1024] = {};
  DWORD_PTR copied = 0;
  if (SendMessageTimeoutW(window, WM_GETTEXT, 1024, reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG, 1000, &copied) !=
      0) {
    return std::wstring(text, copied < 1024 ? copied : 1023);
  }
  return TitleOf(window);
}

RECT ClientOnScreen(HWND window) {
  RECT client{};
  GetClientRect(window, &client);
  POINT topLeft{client.left, client.top};
  POINT bottomRight{client.right, client.bottom};
  ClientToScreen(window, &topLeft);
  ClientToScreen(window, &bottomRight);
  return RECT{topLeft.x, topLeft.y, bottomRight.x, bottomRight.y};
}

struct Search {
  std::wstring wanted;
  bool byClass = false;
  std::vector<HWND> matches;
};

BOOL CALLBACK CollectTopLevel(HWND window, LPARAM param) {
  auto& search = *reinterpret_cast<Search*>(param);
  const std::wstring name = search.byClass ? ClassOf(window) : TitleOf(window);
  if (name == search.wanted) search.matches.push_back(window);
  return TRUE;
}

BOOL CALLBACK CollectChild(HWND window, LPARAM param) {
  reinterpret_cast<std::vector<HWND>*>(param)->push_back(window);
  return TRUE;
}

std::vector<HWND> ChildrenOf(HWND window) {
  std::vector<HWND> children;
  EnumChildWindows(window, CollectChild, reinterpret_cast<LPARAM>(&children));
  return children;
}

// The window that has the keyboard focus in the thread that owns this one, as a screen
// reader asks for it from outside.
HWND FocusOfThreadOf(HWND window) {
  GUITHREADINFO info{};
  info.cbSize = sizeof info;
  return GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &info) ? info.hwndFocus : nullptr;
}

std::string DescribeChild(HWND child, HWND focus) {
  RECT rect{};
  GetWindowRect(child, &rect);
  return "{\"hwnd\": " + Json(child) + ", \"parent\": " + Json(GetParent(child)) +
         ", \"focused\": " + Json(child == focus) +
         ", \"tabstop\": " + Json((GetWindowLongW(child, GWL_STYLE) & WS_TABSTOP) != 0) +
         ", \"id\": " + std::to_string(GetDlgCtrlID(child)) + ", \"class\": " + Json(ClassOf(child)) +
         ", \"text\": " + Json(TextOf(child)) + ", \"visible\": " + Json(IsWindowVisible(child) != FALSE) +
         ", \"enabled\": " + Json(IsWindowEnabled(child) != FALSE) + ", \"rect\": " + Json(rect) + "}";
}

std::string Describe(HWND window, size_t matchCount) {
  RECT rect{};
  GetWindowRect(window, &rect);
  std::string json = "{\"found\": true, \"matches\": " + std::to_string(matchCount) + ", \"hwnd\": " + Json(window) +
                     ", \"title\": " + Json(TitleOf(window)) + ", \"class\": " + Json(ClassOf(window)) +
                     ", \"visible\": " + Json(IsWindowVisible(window) != FALSE) +
                     ", \"minimized\": " + Json(IsIconic(window) != FALSE) +
                     ", \"foreground\": " + Json(GetForegroundWindow() == window) + ", \"window\": " + Json(rect) +
                     ", \"client\": " + Json(ClientOnScreen(window)) + ", \"children\": [";
  const std::vector<HWND> children = ChildrenOf(window);
  const HWND focus = FocusOfThreadOf(window);
  for (size_t i = 0; i < children.size(); ++i) json += (i ? ",\n  " : "\n  ") + DescribeChild(children[i], focus);
  return json + "]}";
}

}  // namespace

int RunInspect(const Arguments& args) {
  Search search;
  Arguments rest(args.begin() + 1, args.end());
  const bool all = !rest.empty() && rest.front() == L"--all";
  if (all) rest.erase(rest.begin());
  if (rest.size() == 2 && rest[0] == L"--class") {
    search.byClass = true;
    search.wanted = rest[1];
  } else if (rest.size() == 1) {
    search.wanted = rest[0];
  } else {
    WriteStdout("usage: probe inspect [--all] TITLE | probe inspect [--all] --class CLASS\n");
    return 2;
  }
  EnumWindows(CollectTopLevel, reinterpret_cast<LPARAM>(&search));
  if (all) {
    std::string json = "{\"found\": " + std::string(search.matches.empty() ? "false" : "true") + ", \"windows\": [";
    for (size_t i = 0; i < search.matches.size(); ++i) {
      json += (i ? ",\n" : "\n") + Describe(search.matches[i], search.matches.size());
    }
    WriteStdout(json + "]}\n");
    return search.matches.empty() ? 1 : 0;
  }
  if (search.matches.empty()) {
    WriteStdout("{\"found\": false}\n");
    return 1;
  }
  // A program may own more than one top-level window of a title (a message box, a hidden
  // message window); the main one is the one with the most controls on it.
  HWND best = search.matches.front();
  size_t bestChildren = ChildrenOf(best).size();
  for (HWND candidate : search.matches) {
    const size_t count = ChildrenOf(candidate).size();
    if (count > bestChildren) {
      best = candidate;
      bestChildren = count;
    }
  }
  WriteStdout(Describe(best, search.matches.size()) + "\n");
  return 0;
}

}  // namespace probe
