#include "runtime/win32/Win32Accessibility.h"

namespace win32 {
namespace {

HWND WindowOf(const rt::Control& control) { return reinterpret_cast<HWND>(control.Handle()); }

}  // namespace

void Win32Accessibility::SetLiveSetting(const rt::Control& control, rt::LiveSetting setting) {
  annotations_.SetNumber(WindowOf(control), kLiveSettingProperty, static_cast<LONG>(setting));
}

void Win32Accessibility::LiveRegionChanged(const rt::Control& control) {
  HWND window = WindowOf(control);
  if (window != nullptr) ::NotifyWinEvent(EVENT_OBJECT_LIVEREGIONCHANGED, window, OBJID_CLIENT, CHILDID_SELF);
}

}  // namespace win32
