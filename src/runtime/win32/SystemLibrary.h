// A Windows DLL that is not one of the KnownDLLs, loaded only from System32: a copy planted
// in the program's folder or the current folder is never picked up. Freed with this object.
#pragma once
#include <windows.h>

namespace win32 {

class SystemLibrary {
 public:
  // Not loaded (Loaded() false) when the DLL is missing or refused; Find then answers null.
  explicit SystemLibrary(const wchar_t* name)
      : module_(::LoadLibraryExW(name, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32)) {}
  SystemLibrary(const SystemLibrary&) = delete;
  SystemLibrary& operator=(const SystemLibrary&) = delete;
  ~SystemLibrary() {
    if (module_ != nullptr) ::FreeLibrary(module_);
  }

  bool Loaded() const { return module_ != nullptr; }
  // The function of that name with the given type, or null.
  template <typename Function>
  Function Find(const char* name) const {
    if (module_ == nullptr) return nullptr;
    return reinterpret_cast<Function>(reinterpret_cast<void*>(::GetProcAddress(module_, name)));
  }

 private:
  HMODULE module_;
};

}  // namespace win32
