#include "settings/SettingsStore.h"

#include <vector>

#include "app/Product.h"
#include "settings/RegText.h"

namespace {

// Every program that keeps its settings this way shares this root below HKEY_CURRENT_USER.
constexpr const wchar_t* kSettingsRoot = L"Software";
constexpr std::uint32_t kKeyWrite = 0x20006;  // set value, create sub-key, read control
constexpr std::uint32_t kRegExpandSz = 2;

}  // namespace

std::wstring SettingsStore::SectionPath(const std::wstring& application, const std::wstring& section) {
  return std::wstring(kSettingsRoot) + L"\\" + application + L"\\" + section;
}

void SettingsStore::SaveSetting(const std::wstring& application, const std::wstring& section, const std::wstring& key,
                                const std::wstring& text) {
  rt::RegKey handle = 0;
  long status = registry_.CreateKey(rt::kHkeyCurrentUser, SectionPath(application, section), kKeyWrite, &handle);
  if (status == rt::reg::kSuccess) {
    const rt::RegistryKey open(registry_, handle);
    status = registry_.SetValue(open.get(), key, rt::reg::kSz, regtext::ToRegSz(text));
  }
  if (status != rt::reg::kSuccess) ReportFailureOnce();
}

std::wstring SettingsStore::GetSetting(const std::wstring& application, const std::wstring& section,
                                       const std::wstring& key, const std::wstring& defaultText) {
  rt::RegKey handle = 0;
  if (registry_.OpenKey(rt::kHkeyCurrentUser, SectionPath(application, section), rt::reg::kKeyRead, &handle) !=
      rt::reg::kSuccess)
    return defaultText;
  const rt::RegistryKey open(registry_, handle);
  std::uint32_t type = 0;
  std::vector<std::uint8_t> data;
  if (registry_.QueryValue(open.get(), key, &type, &data) != rt::reg::kSuccess) return defaultText;
  if (type != rt::reg::kSz && type != kRegExpandSz) return defaultText;
  return regtext::FromRegSz(data);
}

void SettingsStore::ReportFailureOnce() {
  if (failureReported_) return;
  failureReported_ = true;
  dialogs_.MessageBox(std::wstring(product::kDisplayName) +
                          L" could not save your choice: Windows did not let it write to your settings.\r\n\r\n" +
                          product::kDisplayName + L" will not remember this choice the next time it starts.",
                      rt::mb::kOkOnly | rt::mb::kExclamation, product::kDisplayName);
}
