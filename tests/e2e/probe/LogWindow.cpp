// The log window: every mouse message, with the time it was handled, one line each.
// Each line goes to the file with its own WriteFile so the harness can read the log
// while the window runs and nothing is lost if the window is killed.
#include <windows.h>

#include <cstdarg>
#include <cstdio>
#include <cwchar>
#include <string>

#include "Modes.h"
#include "Text.h"
#include "Win32Handles.h"

namespace probe {
namespace {

constexpr wchar_t kClassName[] = L"VornaticProbeLog";

// One line per event, stamped with the performance counter in milliseconds.
class EventLog {
 public:
  explicit EventLog(const std::wstring& path)
      : file_(CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, CREATE_ALWAYS,
                          FILE_ATTRIBUTE_NORMAL, nullptr)) {
    LARGE_INTEGER frequency{};
    QueryPerformanceFrequency(&frequency);
    ticksPerMs_ = static_cast<double>(frequency.QuadPart) / 1000.0;
  }

  bool IsOpen() const { return file_.get() != INVALID_HANDLE_VALUE; }

  void Write(const char* format, ...) {
    char line[256];
    LARGE_INTEGER counter{};
    QueryPerformanceCounter(&counter);
    const int head = std::snprintf(line, sizeof line, "t=%.3f ", static_cast<double>(counter.QuadPart) / ticksPerMs_);
    va_list args;
    va_start(args, format);
    const int body = std::vsnprintf(line + head, sizeof line - static_cast<size_t>(head) - 1, format, args);
    va_end(args);
    size_t length = static_cast<size_t>(head) + static_cast<size_t>(body > 0 ? body : 0);
    if (length > sizeof line - 2) length = sizeof line - 2;
    line[length++] = '\n';
    DWORD written = 0;
    WriteFile(file_.get(), line, static_cast<DWORD>(length), &written, nullptr);
  }

 private:
  UniqueFile file_;
  double ticksPerMs_ = 1.0;
};

const char* ClientMessageName(UINT message) {
  switch (message) {
    case WM_MOUSEMOVE:
      return "WM_MOUSEMOVE";
    case WM_LBUTTONDOWN:
      return "WM_LBUTTONDOWN";
    case WM_LBUTTONUP:
      return "WM_LBUTTONUP";
    case WM_LBUTTONDBLCLK:
      return "WM_LBUTTONDBLCLK";
    case WM_RBUTTONDOWN:
      return "WM_RBUTTONDOWN";
    case WM_RBUTTONUP:
      return "WM_RBUTTONUP";
    case WM_RBUTTONDBLCLK:
      return "WM_RBUTTONDBLCLK";
    case WM_MBUTTONDOWN:
      return "WM_MBUTTONDOWN";
    case WM_MBUTTONUP:
      return "WM_MBUTTONUP";
    case WM_MBUTTONDBLCLK:
      return "WM_MBUTTONDBLCLK";
    default:
      return nullptr;
  }
}

const char* NonClientMessageName(UINT message) {
  switch (message) {
    case WM_NCLBUTTONDOWN:
      return "WM_NCLBUTTONDOWN";
    case WM_NCLBUTTONUP:
      return "WM_NCLBUTTONUP";
    case WM_NCLBUTTONDBLCLK:
      return "WM_NCLBUTTONDBLCLK";
    case WM_NCRBUTTONDOWN:
      return "WM_NCRBUTTONDOWN";
    case WM_NCRBUTTONUP:
      return "WM_NCRBUTTONUP";
    case WM_NCRBUTTONDBLCLK:
      return "WM_NCRBUTTONDBLCLK";
    case WM_NCMBUTTONDOWN:
      return "WM_NCMBUTTONDOWN";
    case WM_NCMBUTTONUP:
      return "WM_NCMBUTTONUP";
    case WM_NCMBUTTONDBLCLK:
      return "WM_NCMBUTTONDBLCLK";
    default:
      return nullptr;
  }
}

LRESULT CALLBACK LogWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    const auto* creation = reinterpret_cast<const CREATESTRUCTW*>(lParam);
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(creation->lpCreateParams));
  }
  auto* log = reinterpret_cast<EventLog*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  if (log == nullptr) return DefWindowProcW(window, message, wParam, lParam);
  // Client messages carry client coordinates and the key state; non-client ones carry
  // screen coordinates and the hit-test code.
  if (const char* name = ClientMessageName(message)) {
    log->Write("msg=%s x=%d y=%d wp=0x%04x mt=%ld", name, static_cast<short>(LOWORD(lParam)),
               static_cast<short>(HIWORD(lParam)), static_cast<unsigned>(wParam), GetMessageTime());
  } else if (const char* ncName = NonClientMessageName(message)) {
    log->Write("msg=%s sx=%d sy=%d ht=%u mt=%ld", ncName, static_cast<short>(LOWORD(lParam)),
               static_cast<short>(HIWORD(lParam)), static_cast<unsigned>(wParam), GetMessageTime());
  } else if (message == WM_CAPTURECHANGED) {
    log->Write("msg=WM_CAPTURECHANGED");
  } else if (message == WM_DESTROY) {
    PostQuitMessage(0);
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

// "log FILE [X Y W H]": the outer window rectangle in screen pixels.
bool ReadGeometry(const Arguments& args, RECT& rect) {
  int values[4] = {20, 20, 400, 300};
  if (args.size() == 6) {
    for (size_t i = 0; i < 4; ++i) values[i] = std::wcstol(args[2 + i].c_str(), nullptr, 10);
  } else if (args.size() != 2) {
    return false;
  }
  rect = RECT{values[0], values[1], values[0] + values[2], values[1] + values[3]};
  return true;
}

}  // namespace

int RunLogWindow(const Arguments& args) {
  RECT frame{};
  if (args.size() < 2 || !ReadGeometry(args, frame)) {
    WriteStdout("usage: probe log FILE [X Y WIDTH HEIGHT]\n");
    return 2;
  }
  EventLog log(args[1]);
  if (!log.IsOpen()) {
    WriteStdout("probe: cannot create the log file\n");
    return 2;
  }
  log.Write("msg=START pid=%lu", GetCurrentProcessId());

  WNDCLASSEXW windowClass{};
  windowClass.cbSize = sizeof windowClass;
  // CS_DBLCLKS: a press that Windows takes for the second half of a double-click must
  // show up in the log as one.
  windowClass.style = CS_DBLCLKS;
  windowClass.lpfnWndProc = LogWindowProc;
  windowClass.hInstance = GetModuleHandleW(nullptr);
  windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  windowClass.hbrBackground = static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH));
  windowClass.lpszClassName = kClassName;
  RegisterClassExW(&windowClass);

  HWND window = CreateWindowExW(0, kClassName, L"Probe", WS_OVERLAPPEDWINDOW | WS_VISIBLE, frame.left, frame.top,
                                frame.right - frame.left, frame.bottom - frame.top, nullptr, nullptr,
                                windowClass.hInstance, &log);
  if (window == nullptr) {
    log.Write("msg=FAILED error=%lu", GetLastError());
    return 1;
  }
  RECT client{};
  GetClientRect(window, &client);
  POINT origin{0, 0};
  ClientToScreen(window, &origin);
  log.Write("msg=READY hwnd=0x%llx client=%ld,%ld,%ld,%ld",
            static_cast<unsigned long long>(reinterpret_cast<UINT_PTR>(window)), origin.x, origin.y, client.right,
            client.bottom);
  return PumpUntilQuit();
}

}  // namespace probe
