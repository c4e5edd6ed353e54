#include "settings/PolicyValues.h"


#include "settings/RegText.h"

namespace policy {
namespace {

std::uint32_t Dword(const std::vector<std::uint8_t>& data) {
  return static_cast<std::uint32_t>(data[0]) | static_cast<std::uint32_t>(data[1]) << 8 |
         static_cast<std::uint32_t>(data[2]) << 16 | static_cast<std::uint32_t>(data[3]) << 24;
}

// What a value holds, as a person reads it, for the one message about it.
std::wstring Shown(std::uint32_t type, const std::vector<std::uint8_t>& data) {
  if (type == rt::reg::kDword && data.size() == 4) return std::to_wstring(Dword(data));
  return regtext::FromRegSz(data);
}

}  // namespace

const std::wstring* Decisions::Text(std::wstring_view name) const {
  for (std::size_t row = 0; row < kPolicies.size(); ++row)
    if (name == kPolicies[row].name && values_[row]) return &*values_[row];
  return nullptr;
}

Reader::Found Reader::ReadOne(const rt::OpenedKey& key, const Policy& policy) {
  if (!key.ok()) return {};
  std::uint32_t type = 0;
  std::vector<std::uint8_t> data;
  if (registry_.QueryValue(key.key.get(), policy.name, &type, &data) != rt::reg::kSuccess) return {};
  const std::wstring unreadable = Shown(type, data);
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
  const rt::OpenedKey keys[] = {rt::OpenRegistryKey(registry_, rt::kHkeyLocalMachine, kKey, rt::reg::kKeyRead),
                                rt::OpenRegistryKey(registry_, rt::kHkeyCurrentUser, kKey, rt::reg::kKeyRead)};
  for (std::size_t row = 0; row < kPolicies.size(); ++row) {
    for (std::size_t source = 0; source < 2; ++source) {
      const Found found = ReadOne(keys[source], kPolicies[row]);
      std::optional<std::wstring>& said = said_[row * 2 + source];
      if (found.unreadable && found.unreadable != said) {
        said = found.unreadable;
        read.complaint += std::wstring(read.complaint.empty() ? L"" : L"\r\n") +
                          words_.Format(rt::TextId::PolicyUnreadable,
                                        {{L"name", kPolicies[row].name}, {L"setting", *said}});
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
