#include "runtime/win32/Win32Registry.h"

#include "runtime/win32/Win32KeyWatch.h"

namespace win32 {
namespace {

rt::RegKey FromHkey(HKEY key) { return reinterpret_cast<rt::RegKey>(key); }

}  // namespace

HKEY ToHkey(rt::RegKey key) {
  if (key >= 0x80000000u && key <= 0x800000FFu)
    return reinterpret_cast<HKEY>(static_cast<ULONG_PTR>(static_cast<LONG>(static_cast<DWORD>(key))));
  return reinterpret_cast<HKEY>(key);
}

long Win32Registry::OpenKey(rt::RegKey root, const std::wstring& subKey, std::uint32_t access, rt::RegKey* result) {
  HKEY opened = nullptr;
  const LSTATUS status = ::RegOpenKeyExW(ToHkey(root), subKey.c_str(), 0, access, &opened);
  if (result != nullptr) *result = status == ERROR_SUCCESS ? FromHkey(opened) : 0;
  return status;
}

long Win32Registry::CreateKey(rt::RegKey root, const std::wstring& subKey, std::uint32_t access, rt::RegKey* result) {
  HKEY created = nullptr;
  const LSTATUS status = ::RegCreateKeyExW(ToHkey(root), subKey.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, access,
                                           nullptr, &created, nullptr);
  if (result != nullptr) *result = status == ERROR_SUCCESS ? FromHkey(created) : 0;
  return status;
}

long Win32Registry::SetValue(rt::RegKey key, const std::wstring& name, std::uint32_t type,
                             const std::vector<std::uint8_t>& data) {
  return ::RegSetValueExW(ToHkey(key), name.c_str(), 0, type, data.empty() ? nullptr : data.data(),
                          static_cast<DWORD>(data.size()));
}

long Win32Registry::QueryValue(rt::RegKey key, const std::wstring& name, std::uint32_t* type,
                               std::vector<std::uint8_t>* data) {
  DWORD valueType = 0;
  DWORD size = 0;
  LSTATUS status = ::RegQueryValueExW(ToHkey(key), name.c_str(), nullptr, &valueType, nullptr, &size);
  // The value may grow between asking its size and reading it; ask again until it fits.
  while (status == ERROR_SUCCESS && data != nullptr) {
    data->resize(size);
    DWORD read = size;
    status = ::RegQueryValueExW(ToHkey(key), name.c_str(), nullptr, &valueType, data->empty() ? nullptr : data->data(),
                                &read);
    if (status == ERROR_MORE_DATA) {
      size = read > size ? read : size + 256;
      status = ERROR_SUCCESS;
      continue;
    }
    if (status == ERROR_SUCCESS) data->resize(read);
    break;
  }
  if (status == ERROR_SUCCESS && type != nullptr) *type = valueType;
  return status;
}

long Win32Registry::DeleteValue(rt::RegKey key, const std::wstring& name) {
  return ::RegDeleteValueW(ToHkey(key), name.c_str());
}

long Win32Registry::CloseKey(rt::RegKey key) { return ::RegCloseKey(ToHkey(key)); }

std::wstring Win32Registry::ExpandVariables(const std::wstring& text) {
  std::wstring expanded(text.size() + 64, L'\0');
  for (;;) {
    // The count includes the terminating NUL; 0 means failure, and then the text stands.
    const DWORD needed =
        ::ExpandEnvironmentStringsW(text.c_str(), expanded.data(), static_cast<DWORD>(expanded.size()));
    if (needed == 0) return text;
    if (needed <= expanded.size()) {
      expanded.resize(needed - 1);
      return expanded;
    }
    expanded.resize(needed);
  }
}

std::unique_ptr<rt::KeyWatch> Win32Registry::WatchKey(rt::RegKey root, const std::wstring& subKey,
                                                      rt::EventPump& pump, std::function<void()> changed) {
  return std::make_unique<Win32KeyWatch>(ToHkey(root), subKey, pump, std::move(changed));
}

}  // namespace win32
