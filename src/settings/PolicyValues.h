// The choices an administrator makes for everyone (Group Policy, or a registry value set
// beforehand): one table of the policy values, and what they say after a read. A policy
// value wins over the user's own; HKEY_LOCAL_MACHINE's wins over HKEY_CURRENT_USER's.
#pragma once
#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "runtime/Registry.h"
#include "runtime/Texts.h"
#include "settings/SettingsStore.h"

namespace policy {

// Below HKEY_LOCAL_MACHINE and HKEY_CURRENT_USER.
inline constexpr const wchar_t* kKey = L"Software\\Policies\\Kestrova\\Vornatic";
// What is watched for changes: Group Policy rewrites the keys under it, ours among them, and
// takes ours away altogether when the last of its values goes.
inline constexpr const wchar_t* kWatchedKey = L"Software\\Policies";

inline constexpr const wchar_t* kDisableRunAtLogon = L"DisableRunAtLogon";
inline constexpr const wchar_t* kDisableSettings = L"DisableSettings";

enum class Kind {
  Text,    // REG_SZ in the format of the user's value it overrides
  Switch,  // REG_DWORD: 1 turns it on; 0 leaves it off, also where HKEY_CURRENT_USER says 1
  // A key of the policy's name below kKey, one REG_SZ per item named 1, 2, 3, ... as Group
  // Policy's list box writes them. A key with no item in it decides nothing.
  List,
};

struct Policy {
  const wchar_t* name;
  Kind kind;
  // The user's value (under HKEY_CURRENT_USER\Software\Kestrova\Vornatic) it overrides, or
  // what it takes from the user when there is no such value.
  const wchar_t* overrides;
};

inline constexpr std::array<Policy, 8> kPolicies{{
    {settings::kLatch, Kind::Text, settings::kLatch},
    {settings::kLatchRight, Kind::Text, settings::kLatchRight},
    {settings::kLatchMiddle, Kind::Text, settings::kLatchMiddle},
    {settings::kHotkey, Kind::Text, settings::kHotkey},
    {settings::kIndicator, Kind::Text, settings::kIndicator},
    {settings::kLatchExceptions, Kind::List, settings::kLatchExceptions},
    {kDisableRunAtLogon, Kind::Switch, settings::kWindowsStartup},
    {kDisableSettings, Kind::Switch, L"the Settings window"},
}};

// What the administrator decided: by policy name, a switch as "1" or "0", a list as its items.
class Decisions {
 public:
  // Nothing when no policy decides it.
  const std::wstring* Text(std::wstring_view name) const;
  const std::vector<std::wstring>* List(std::wstring_view name) const;
  bool Decides(std::wstring_view name) const { return Text(name) != nullptr; }
  bool SwitchOn(std::wstring_view name) const {
    const std::wstring* found = Text(name);
    return found != nullptr && *found == L"1";
  }
  // Row: the policy's place in kPolicies.
  void Set(std::size_t row, std::wstring text) { values_[row] = std::move(text); }
  void SetList(std::size_t row, std::vector<std::wstring> items) {
    values_[row] = std::wstring();
    lists_[row] = std::move(items);
  }
  bool operator==(const Decisions&) const = default;

 private:
  std::array<std::optional<std::wstring>, kPolicies.size()> values_;
  std::array<std::vector<std::wstring>, kPolicies.size()> lists_;
};

class Reader {
 public:
  // Whether a text policy's value is one the program understands (a hold time for Latch,
  // a shortcut for Hotkey, ...), in the user's words.
  using Understood = bool (*)(const rt::Texts& words, const std::wstring& name, const std::wstring& text);
  Reader(rt::Registry& registry, const rt::Texts& words, Understood understood)
      : registry_(registry), words_(words), understood_(understood) {}

  struct Read {
    Decisions decisions;
    // In the user's words, the values found unreadable that no earlier read found: each
    // is said once. Empty when there is nothing new to say.
    std::wstring complaint;
  };
  // An unreadable value is left out: the next source (HKEY_CURRENT_USER's policy, then the
  // user's own choice) decides in its place.
  Read ReadAll();

 private:
  // Nothing when the key holds no such value; the text (a list's items), or what it holds
  // when it cannot be read.
  struct Found {
    std::optional<std::wstring> text;
    std::optional<std::wstring> unreadable;
    std::vector<std::wstring> items;
  };
  Found ReadOne(const rt::OpenedKey& key, const Policy& policy);
  Found ReadList(rt::RegKey root, const Policy& policy);

  rt::Registry& registry_;
  const rt::Texts& words_;
  Understood understood_;
  // By row, the machine's then the user's: what was last said to be unreadable.
  std::array<std::optional<std::wstring>, kPolicies.size() * 2> said_;
};

}  // namespace policy
