// What a window's accessible object says beyond what its class gives, set through the
// system's annotation service. Where there is no service, or only a stub (Wine's), the
// windows keep what their class gives and nothing fails: screen readers then miss a
// detail, and the program works on.
#pragma once
#include <windows.h>
// after windows.h, which it needs
#include <oleacc.h>

#include <utility>
#include <vector>

#include "runtime/win32/Com.h"

namespace win32 {

// The properties we annotate: the live setting of a live region (a UI Automation property
// the system's bridge from MSAA reads), and a control's role and default action.
extern const GUID kLiveSettingProperty;
extern const GUID kRoleProperty;
extern const GUID kDefaultActionProperty;

class AccessibleAnnotations {
 public:
  // COM for this thread, and the service, made through COM from its registered place.
  AccessibleAnnotations();
  AccessibleAnnotations(const AccessibleAnnotations&) = delete;
  AccessibleAnnotations& operator=(const AccessibleAnnotations&) = delete;
  // Takes back every annotation it made.
  ~AccessibleAnnotations();

  // Of the window's own (client) object. True when the service took it.
  bool SetNumber(HWND window, const GUID& property, LONG value);
  bool SetText(HWND window, const GUID& property, const wchar_t* text);

 private:
  bool Set(HWND window, const GUID& property, VARIANT value);

  ComApartment com_;  // first in, last out: COM outlives the service
  UniqueCom<IAccPropServices> services_;
  std::vector<std::pair<HWND, GUID>> made_;
};

}  // namespace win32
