// An in-memory registry with the W API's rules that matter to us: names match without
// regard to case, opening a missing key fails, creating makes every level, a zero or
// closed handle fails, and writes can be refused per key to act out a user without
// administrator rights.
#pragma once
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "runtime/Registry.h"

namespace fake {

struct RegValue {
  std::uint32_t type;
  std::vector<std::uint8_t> data;
};

class FakeRegistry : public rt::Registry {
 public:
  long OpenKey(rt::RegKey root, const std::wstring& subKey, std::uint32_t access, rt::RegKey* result) override;
  long CreateKey(rt::RegKey root, const std::wstring& subKey, std::uint32_t access, rt::RegKey* result) override;
  long SetValue(rt::RegKey key, const std::wstring& name, std::uint32_t type,
                const std::vector<std::uint8_t>& data) override;
  long QueryValue(rt::RegKey key, const std::wstring& name, std::uint32_t* type,
                  std::vector<std::uint8_t>* data) override;
  long DeleteValue(rt::RegKey key, const std::wstring& name) override;
  long CloseKey(rt::RegKey key) override;
  std::wstring ExpandVariables(const std::wstring& text) override;
  // As Windows does: every change at or below the key posts the call to the pump.
  std::unique_ptr<rt::KeyWatch> WatchKey(rt::RegKey root, const std::wstring& subKey, rt::EventPump& pump,
                                         std::function<void()> changed) override;

  // Test side. Paths are "HKLM\\..." or "HKCU\\..." in any case, with or without a trailing backslash.
  void MakeKey(const std::wstring& path);
  bool KeyExists(const std::wstring& path) const;
  std::optional<RegValue> Value(const std::wstring& path, const std::wstring& name) const;
  std::optional<std::wstring> StringValue(const std::wstring& path, const std::wstring& name) const;
  std::size_t ValueCount(const std::wstring& path) const;
  // Opening this key for anything but reading, or creating it, is refused (access denied).
  void DenyWrites(const std::wstring& path) { denied_.insert(Normalize(path)); }
  void DenyAllWrites() { denyAll_ = true; }
  // Every open of this key is refused, even for reading.
  void DenyOpens(const std::wstring& path) { deniedOpens_.insert(Normalize(path)); }
  // The key opens for writing, but deleting this one value is refused (access denied).
  void RefuseDeletion(const std::wstring& path, const std::wstring& name) {
    undeletable_.insert(Normalize(path) + L"\\" + Lower(name));
  }
  std::size_t OpenHandles() const { return handles_.size(); }
  // The environment ExpandVariables fills in, by name in any case.
  void SetVariable(const std::wstring& name, const std::wstring& value) { variables_[Lower(name)] = value; }

  // Every change, in order: "set PATH\\name", "delete PATH\\name".
  std::vector<std::wstring> log;

 private:
  static std::wstring Normalize(const std::wstring& path);
  static std::wstring Lower(std::wstring s);
  std::wstring Join(rt::RegKey root, const std::wstring& subKey) const;
  void Changed(const std::wstring& path);
  bool Refused(const std::wstring& normalized) const { return denyAll_ || denied_.count(normalized) != 0; }

  // Key path (normalised) -> values by lower-cased name.
  std::map<std::wstring, std::map<std::wstring, RegValue>> keys_;
  std::map<rt::RegKey, std::wstring> handles_;
  std::set<std::wstring> denied_;
  bool denyAll_ = false;
  std::set<std::wstring> deniedOpens_;
  std::set<std::wstring> undeletable_;              // key path \ lower-cased value name
  std::map<std::wstring, std::wstring> variables_;  // lower-cased name -> value
  rt::RegKey nextHandle_ = 0x100;
  struct Watch;
  std::vector<std::shared_ptr<Watch>> watches_;
};

}  // namespace fake
