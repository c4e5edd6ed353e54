// The registry, translated call for call; keys travel to the program as HKEY values.
#pragma once
#include <windows.h>

#include "runtime/Registry.h"

namespace win32 {

// The program's key number as Windows' HKEY: the predefined roots are 32-bit values that
// Windows sign-extends on 64-bit systems.
HKEY ToHkey(rt::RegKey key);

class Win32Registry : public rt::Registry {
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
  std::unique_ptr<rt::KeyWatch> WatchKey(rt::RegKey root, const std::wstring& subKey, rt::EventPump& pump,
                                         std::function<void()> changed) override;
};

}  // namespace win32
