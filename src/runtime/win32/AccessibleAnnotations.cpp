#include "runtime/win32/AccessibleAnnotations.h"

namespace win32 {
namespace {

// Spelt out here: the headers of our compiler do not all carry them, and defining them
// through <initguid.h> would clash with any library that does.
constexpr GUID kAccPropServicesClass = {0xb5f8350b, 0x0548, 0x48b1, {0xa6, 0xee, 0x88, 0xbd, 0x00, 0xb4, 0xa5, 0xe7}};
constexpr GUID kAccPropServicesInterface = {
    0x6e26e776, 0x04f0, 0x495d, {0x80, 0xe4, 0x33, 0x30, 0x35, 0x2e, 0x31, 0x69}};

IAccPropServices* CreateServices() {
  void* services = nullptr;
  if (FAILED(::CoCreateInstance(kAccPropServicesClass, nullptr, CLSCTX_INPROC_SERVER, kAccPropServicesInterface,
                                &services)))
    return nullptr;
  return static_cast<IAccPropServices*>(services);
}

}  // namespace

const GUID kLiveSettingProperty = {0xc12bcd8e, 0x2a8e, 0x4950, {0x8a, 0xe7, 0x36, 0x25, 0x11, 0x1d, 0x58, 0xeb}};
const GUID kRoleProperty = {0xcb905ff2, 0x7bd1, 0x4c05, {0xb3, 0xc8, 0xe6, 0xc2, 0x41, 0x36, 0x4d, 0x70}};
const GUID kDefaultActionProperty = {0x180c072b, 0xc27f, 0x43c7, {0x99, 0x22, 0xf6, 0x35, 0x62, 0xa4, 0x63, 0x2b}};

AccessibleAnnotations::AccessibleAnnotations() : services_(CreateServices()) {}

AccessibleAnnotations::~AccessibleAnnotations() {
  if (!services_) return;
  for (auto& [window, property] : made_)
    services_->ClearHwndProps(window, static_cast<DWORD>(OBJID_CLIENT), CHILDID_SELF, &property, 1);
}

bool AccessibleAnnotations::SetNumber(HWND window, const GUID& property, LONG value) {
  VARIANT number{};
  number.vt = VT_I4;
  number.lVal = value;
  return Set(window, property, number);
}

bool AccessibleAnnotations::SetText(HWND window, const GUID& property, const wchar_t* text) {
  if (!services_ || window == nullptr) return false;
  if (FAILED(services_->SetHwndPropStr(window, static_cast<DWORD>(OBJID_CLIENT), CHILDID_SELF, property,
                                       const_cast<LPWSTR>(text))))
    return false;
  made_.emplace_back(window, property);
  return true;
}

bool AccessibleAnnotations::Set(HWND window, const GUID& property, VARIANT value) {
  if (!services_ || window == nullptr) return false;
  if (FAILED(services_->SetHwndProp(window, static_cast<DWORD>(OBJID_CLIENT), CHILDID_SELF, property, value)))
    return false;
  made_.emplace_back(window, property);
  return true;
}

}  // namespace win32
