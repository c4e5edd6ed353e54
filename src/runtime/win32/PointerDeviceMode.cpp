#include "runtime/win32/PointerDeviceMode.h"

#include "runtime/win32/MessageWindow.h"

namespace win32 {
namespace {

constexpr wchar_t kWindowClass[] = L"Vornatic.PointerDevice";
constexpr USHORT kGenericDesktop = 0x01;
constexpr USHORT kMouseUsage = 0x02;

}  // namespace

PointerDeviceMode::PointerDeviceMode(HINSTANCE instance)
    : window_(MakeMessageWindow(instance, kWindowClass, &PointerDeviceMode::WindowProc, this)) {
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
    if (auto* self = OwnerOf<PointerDeviceMode>(window)) self->OnRawInput(reinterpret_cast<HRAWINPUT>(lParam));
  }
  return ::DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace win32
