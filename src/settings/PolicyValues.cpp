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

const std::vector<std::wstring>* Decisions::List(std::wstring_view name) const {
  for (std::size_t row = 0; row < kPolicies.size(); ++row)
    if (name == kPolicies[row].name && values_[row]) return &lists_[row];
  return nullptr;
}

Reader::Found Reader::ReadList(rt::RegKey root, const Policy& policy) {
  const rt::OpenedKey key =
      rt::OpenRegistryKey(registry_, root, std::wstring(kKey) + L"\\" + policy.name, rt::reg::kKeyRead);
  if (!key.ok()) return {};
  Found found;
  for (int item = 1;; ++item) {
    std::uint32_t type = 0;
    std::vector<std::uint8_t> data;
    if (registry_.QueryValue(key.key.get(), std::to_wstring(item), &type, &data) != rt::reg::kSuccess) break;
    const std::wstring text = regtext::FromRegSz(data);
    // One item that is no file name spoils the list: half an administrator's list is not theirs.
    if ((type != rt::reg::kSz && type != rt::reg::kExpandSz) || text.empty() ||
        text.find_first_of(L"\\/") != std::wstring::npos)
      return {std::nullopt, Shown(type, data), {}};
    found.items.push_back(text);
  }
  if (found.items.empty()) return {};
  found.text = std::wstring();
  return found;
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
        return {regtext::FromRegSz(data), std::nullopt, {}};
      return {std::nullopt, unreadable, {}};
    case Kind::Switch:
      if (type == rt::reg::kDword && data.size() == 4 && Dword(data) <= 1)
        return {std::to_wstring(Dword(data)), std::nullopt, {}};
      return {std::nullopt, unreadable, {}};
    case Kind::List:
      break;  // a key of its own
  }
  return {};
}

Reader::Read Reader::ReadAll() {
  Read read;
  const rt::RegKey roots[] = {rt::kHkeyLocalMachine, rt::kHkeyCurrentUser};
  const rt::OpenedKey keys[] = {rt::OpenRegistryKey(registry_, roots[0], kKey, rt::reg::kKeyRead),
                                rt::OpenRegistryKey(registry_, roots[1], kKey, rt::reg::kKeyRead)};
  for (std::size_t row = 0; row < kPolicies.size(); ++row) {
    for (std::size_t source = 0; source < 2; ++source) {
      const Policy& policy = kPolicies[row];
      const Found found =
          policy.kind == Kind::List ? ReadList(roots[source], policy) : ReadOne(keys[source], policy);
      std::optional<std::wstring>& said = said_[row * 2 + source];
      if (found.unreadable && found.unreadable != said) {
        said = found.unreadable;
        read.complaint += std::wstring(read.complaint.empty() ? L"" : L"\r\n") +
                          words_.Format(rt::TextId::PolicyUnreadable,
                                        {{L"name", kPolicies[row].name}, {L"setting", *said}});
      }
      if (found.text) {
        if (policy.kind == Kind::List)
          read.decisions.SetList(row, found.items);
        else
          read.decisions.Set(row, *found.text);
        break;
      }
    }
  }
  return read;
}

}  // namespace policy
