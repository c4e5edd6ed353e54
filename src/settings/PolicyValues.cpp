#include "settings/PolicyValues.h"

#include <algorithm>

#include "settings/RegText.h"

namespace policy {
namespace {

constexpr std::uint32_t kMultiSz = 7;

std::uint32_t Dword(const std::vector<std::uint8_t>& data) {
  return static_cast<std::uint32_t>(data[0]) | static_cast<std::uint32_t>(data[1]) << 8 |
         static_cast<std::uint32_t>(data[2]) << 16 | static_cast<std::uint32_t>(data[3]) << 24;
}

// What a value holds, written as the registry editor shows it, for the one message about it.
std::wstring Shown(std::uint32_t type, const std::vector<std::uint8_t>& data) {
  if (type == rt::reg::kDword && data.size() == 4) return std::to_wstring(Dword(data));
  if (type == rt::reg::kSz || type == rt::reg::kExpandSz || type == kMultiSz) return regtext::FromRegSz(data);
  std::wstring hex;
  constexpr wchar_t kDigits[] = L"0123456789abcdef";
  for (const std::uint8_t byte : data) {
    if (!hex.empty()) hex += L' ';
    hex += kDigits[byte >> 4];
    hex += kDigits[byte & 0xF];
  }
  return hex;
}

}  // namespace

std::optional<std::wstring> Decisions::Text(const std::wstring& name) const {
  for (std::size_t row = 0; row < kPolicies.size(); ++row)
    if (name == kPolicies[row].name) return values_[row];
  return std::nullopt;
}

Reader::Found Reader::ReadOne(rt::RegKey root, const Policy& policy) {
  const rt::OpenedKey opened = rt::OpenRegistryKey(registry_, root, kKey, rt::reg::kKeyRead);
  if (!opened.ok()) return {};
  std::uint32_t type = 0;
  std::vector<std::uint8_t> data;
  if (registry_.QueryValue(opened.key.get(), policy.name, &type, &data) != rt::reg::kSuccess) return {};
  const Unreadable unreadable{policy.name, Shown(type, data)};
  switch (policy.kind) {
    case Kind::Text:
      if ((type == rt::reg::kSz || type == rt::reg::kExpandSz) && understood_(words_, policy.name, regtext::FromRegSz(data)))
        return {regtext::FromRegSz(data), std::nullopt};
      return {std::nullopt, unreadable};
    case Kind::Switch:
      if (type == rt::reg::kDword && data.size() == 4 && Dword(data) <= 1)
        return {std::to_wstring(Dword(data)), std::nullopt};
      return {std::nullopt, unreadable};
  }
  return {};
}

Reader::Read Reader::ReadAll() {
  Read read;
  for (std::size_t row = 0; row < kPolicies.size(); ++row) {
    for (const rt::RegKey root : {rt::kHkeyLocalMachine, rt::kHkeyCurrentUser}) {
      const Found found = ReadOne(root, kPolicies[row]);
      if (found.unreadable && std::find(said_.begin(), said_.end(), *found.unreadable) == said_.end()) {
        said_.push_back(*found.unreadable);
        read.newlyUnreadable.push_back(*found.unreadable);
      }
      if (found.text) {
        read.decisions.Set(row, *found.text);
        break;
      }
    }
  }
  return read;
}

}  // namespace policy
