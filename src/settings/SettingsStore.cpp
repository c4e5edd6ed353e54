#include "settings/SettingsStore.h"

#include <vector>

#include "settings/RegText.h"

namespace {

// Every program that keeps its settings this way shares this root below HKEY_CURRENT_USER.
constexpr const wchar_t* kSettingsRoot = L"Software";
constexpr std::uint32_t kKeyWrite = 0x20006;  // set value, create sub-key, read control

}  // namespace

std::wstring SettingsStore::SectionPath(const std::wstring& application, const std::wstring& section) {
  return std::wstring(kSettingsRoot) + L"\\" + application + L"\\" + section;
}

void SettingsStore::SaveSetting(const std::wstring& application, const std::wstring& section, const std::wstring& key,
                                const std::wstring& text) {
  const rt::OpenedKey opened =
      rt::CreateRegistryKey(registry_, rt::kHkeyCurrentUser, SectionPath(application, section), kKeyWrite);
  const long status =
      opened.ok() ? registry_.SetValue(opened.key.get(), key, rt::reg::kSz, regtext::ToRegSz(text)) : opened.status;
  if (status != rt::reg::kSuccess) ReportFailureOnce();
}

std::wstring SettingsStore::GetSetting(const std::wstring& application, const std::wstring& section,
                                       const std::wstring& key, const std::wstring& defaultText) {
  const rt::OpenedKey opened =
      rt::OpenRegistryKey(registry_, rt::kHkeyCurrentUser, SectionPath(application, section), rt::reg::kKeyRead);
  if (!opened.ok()) return defaultText;
  std::uint32_t type = 0;
  std::vector<std::uint8_t> data;
  if (registry_.QueryValue(opened.key.get(), key, &type, &data) != rt::reg::kSuccess) return defaultText;
  if (type != rt::reg::kSz && type != rt::reg::kExpandSz) return defaultText;
  return regtext::FromRegSz(data);
}

void SettingsStore::SaveList(const std::wstring& application, const std::wstring& section, const std::wstring& key,
                             const std::vector<std::wstring>& texts) {
  const rt::OpenedKey opened =
      rt::CreateRegistryKey(registry_, rt::kHkeyCurrentUser, SectionPath(application, section), kKeyWrite);
  const long status = opened.ok()
                          ? registry_.SetValue(opened.key.get(), key, rt::reg::kMultiSz, regtext::ToRegMultiSz(texts))
                          : opened.status;
  if (status != rt::reg::kSuccess) ReportFailureOnce();
}

std::vector<std::wstring> SettingsStore::GetList(const std::wstring& application, const std::wstring& section,
                                                 const std::wstring& key) {
  const rt::OpenedKey opened =
      rt::OpenRegistryKey(registry_, rt::kHkeyCurrentUser, SectionPath(application, section), rt::reg::kKeyRead);
  if (!opened.ok()) return {};
  std::uint32_t type = 0;
  std::vector<std::uint8_t> data;
  if (registry_.QueryValue(opened.key.get(), key, &type, &data) != rt::reg::kSuccess) return {};
  if (type != rt::reg::kMultiSz) return {};
  return regtext::FromRegMultiSz(data);
}

void SettingsStore::ReportFailureOnce() {
  if (failureReported_) return;
  failureReported_ = true;
  dialogs_.MessageBox(texts_.Format(rt::TextId::SettingsNotSaved, {{L"product", productName_}}),
                      rt::mb::kOkOnly | rt::mb::kExclamation, productName_);
}
