#include "runtime/win32/PointerDeviceMode.h"

#include "runtime/Failure.h"
#include "runtime/win32/SystemMessage.h"

namespace win32 {
namespace {

constexpr wchar_t kWindowClass[] = L"Vornatic.PointerDevice";
constexpr USHORT kGenericDesktop = 0x01;
constexpr USHORT kMouseUsage = 0x02;

}  // namespace

PointerDeviceMode::PointerDeviceMode(HINSTANCE instance) {
  WNDCLASSEXW windowClass{};
  windowClass.cbSize = sizeof(windowClass);
  windowClass.lpfnWndProc = &PointerDeviceMode::WindowProc;
  windowClass.hInstance = instance;
  windowClass.lpszClassName = kWindowClass;
  if (::RegisterClassExW(&windowClass) == 0 && ::GetLastError() != ERROR_CLASS_ALREADY_EXISTS)
    throw rt::Failure(SystemMessage(::GetLastError()));
  window_.reset(::CreateWindowExW(0, kWindowClass, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, instance, nullptr));
  if (!window_) throw rt::Failure(SystemMessage(::GetLastError()));
  ::SetWindowLongPtrW(window_.get(), GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  const HMODULE ntdll = ::GetModuleHandleW(L"ntdll.dll");
  underWine_ = ntdll != nullptr && ::GetProcAddress(ntdll, "wine_get_version") != nullptr;
}

void PointerDeviceMode::Listen() {
  if (listening_) return;
  RAWINPUTDEVICE device{kGenericDesktop, kMouseUsage, RIDEV_INPUTSINK, window_.get()};
  listening_ = ::RegisterRawInputDevices(&device, 1, sizeof(device)) != FALSE;
}

void PointerDeviceMode::StopListening() {
  if (!listening_) return;
  RAWINPUTDEVICE device{kGenericDesktop, kMouseUsage, RIDEV_REMOVE, nullptr};
  ::RegisterRawInputDevices(&device, 1, sizeof(device));
  listening_ = false;
}

rt::PointerReports PointerDeviceMode::ModeOf(const RAWMOUSE& report, rt::PointerReports before) {
  if ((report.usFlags & MOUSE_MOVE_ABSOLUTE) != 0) return rt::PointerReports::Places;
  if (report.lLastX != 0 || report.lLastY != 0) return rt::PointerReports::Moves;
  return before;  // a button alone says nothing of how the device moves
}

void PointerDeviceMode::OnRawInput(HRAWINPUT input) {
  RAWINPUT raw{};
  UINT size = sizeof(raw);
  if (::GetRawInputData(input, RID_INPUT, &raw, &size, sizeof(RAWINPUTHEADER)) == static_cast<UINT>(-1)) return;
  if (raw.header.dwType == RIM_TYPEMOUSE) mode_ = ModeOf(raw.data.mouse, mode_);
}

LRESULT CALLBACK PointerDeviceMode::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_INPUT) {
    if (auto* self = reinterpret_cast<PointerDeviceMode*>(::GetWindowLongPtrW(window, GWLP_USERDATA)))
      self->OnRawInput(reinterpret_cast<HRAWINPUT>(lParam));
  }
  return ::DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace win32
