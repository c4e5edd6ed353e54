// The registry, through the W entry points. Status values are Win32 error codes (0 = success).
#pragma once
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "runtime/EventPump.h"

namespace rt {

using RegKey = std::uintptr_t;  // 0 is "no key"
constexpr RegKey kHkeyCurrentUser = 0x80000001u;
constexpr RegKey kHkeyLocalMachine = 0x80000002u;

namespace reg {
constexpr std::uint32_t kSz = 1;
constexpr std::uint32_t kExpandSz = 2;
constexpr std::uint32_t kDword = 4;
// Several texts, each ended by a NUL, the whole ended by one more.
constexpr std::uint32_t kMultiSz = 7;
constexpr std::uint32_t kKeyRunAccess = 63;  // query/set value, create sub-key, enumerate, notify, link
constexpr std::uint32_t kKeyAllAccess = 0xF003F;
constexpr std::uint32_t kKeyRead = 0x20019;
constexpr long kSuccess = 0;
constexpr long kFileNotFound = 2;
constexpr long kAccessDenied = 5;
constexpr long kInvalidHandle = 6;
}  // namespace reg

// Ends its watch when it goes.
class KeyWatch {
 public:
  virtual ~KeyWatch() = default;
};

class Registry {
 public:
  virtual ~Registry() = default;
  virtual long OpenKey(RegKey root, const std::wstring& subKey, std::uint32_t access, RegKey* result) = 0;
  // Opens the key, creating every missing level of the path.
  virtual long CreateKey(RegKey root, const std::wstring& subKey, std::uint32_t access, RegKey* result) = 0;
  virtual long SetValue(RegKey key, const std::wstring& name, std::uint32_t type,
                        const std::vector<std::uint8_t>& data) = 0;
  virtual long QueryValue(RegKey key, const std::wstring& name, std::uint32_t* type,
                          std::vector<std::uint8_t>* data) = 0;
  virtual long DeleteValue(RegKey key, const std::wstring& name) = 0;
  virtual long CloseKey(RegKey key) = 0;
  // The text of a REG_EXPAND_SZ value as Windows reads it when it runs the command: each
  // %NAME% of the environment replaced by its value, unknown names left as they are.
  virtual std::wstring ExpandVariables(const std::wstring& text) = 0;
  // Calls changed on the user-interface thread, from a later pump, after any change to a
  // value or key at or below the key (which need not exist yet), for as long as the
  // returned watch lives. Several changes close together may give one call. The watched
  // key itself is not expected to go (Windows would report that, Wine does not).
  virtual std::unique_ptr<KeyWatch> WatchKey(RegKey root, const std::wstring& subKey, EventPump& pump,
                                             std::function<void()> changed) = 0;
};

// Owns one open key and closes it on every path out of the scope.
class RegistryKey {
 public:
  RegistryKey() = default;
  RegistryKey(Registry& registry, RegKey key) : registry_(&registry), key_(key) {}
  RegistryKey(RegistryKey&& other) noexcept : registry_(other.registry_), key_(other.key_) { other.key_ = 0; }
  RegistryKey& operator=(RegistryKey&& other) noexcept {
    if (this != &other) {
      Close();
      registry_ = other.registry_;
      key_ = other.key_;
      other.key_ = 0;
    }
    return *this;
  }
  RegistryKey(const RegistryKey&) = delete;
  RegistryKey& operator=(const RegistryKey&) = delete;
  ~RegistryKey() { Close(); }
  RegKey get() const { return key_; }
  explicit operator bool() const { return key_ != 0; }

 private:
  void Close() {
    if (key_ != 0) registry_->CloseKey(key_);
    key_ = 0;
  }
  Registry* registry_ = nullptr;
  RegKey key_ = 0;
};

// A key as an open gives it back: the status, and the key owned when it opened.
struct OpenedKey {
  long status = reg::kInvalidHandle;
  RegistryKey key;
  bool ok() const { return status == reg::kSuccess; }
};

// Opens an existing key.
inline OpenedKey OpenRegistryKey(Registry& registry, RegKey root, const std::wstring& subKey, std::uint32_t access) {
  RegKey handle = 0;
  const long status = registry.OpenKey(root, subKey, access, &handle);
  return {status, status == reg::kSuccess ? RegistryKey(registry, handle) : RegistryKey()};
}

// Opens a key, making every missing level of its path.
inline OpenedKey CreateRegistryKey(Registry& registry, RegKey root, const std::wstring& subKey, std::uint32_t access) {
  RegKey handle = 0;
  const long status = registry.CreateKey(root, subKey, access, &handle);
  return {status, status == reg::kSuccess ? RegistryKey(registry, handle) : RegistryKey()};
}

}  // namespace rt
