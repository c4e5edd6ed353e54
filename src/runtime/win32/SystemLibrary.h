// A DLL that is not one of the KnownDLLs Windows always maps from System32 (UxTheme,
// WTSAPI32, OLEACC, ...), loaded from System32 and nowhere else, so that a file of the same
// name lying beside Vornatic.exe (the portable zip unpacked in Downloads) is never the one
// that runs. Import such a DLL this way, never statically: the release check refuses an
// executable that does.
//
//   static const SystemLibrary uxtheme(L"uxtheme.dll");
//   if (auto set = uxtheme.Find<decltype(&::SetWindowTheme)>("SetWindowTheme")) set(window, L" ", L" ");
#pragma once
#include <windows.h>

#include <memory>
#include <type_traits>

namespace win32 {

struct ModuleFreer {
  void operator()(HMODULE module) const noexcept { ::FreeLibrary(module); }
};
using UniqueModule = std::unique_ptr<std::remove_pointer_t<HMODULE>, ModuleFreer>;

// Every DLL loaded by name from here on, by the program or by Windows on its behalf, comes
// from System32 alone: never from the program's folder or the current directory. The
// entry point calls it before anything else.
void LoadDllsFromSystem32Only();

class SystemLibrary {
 public:
  // fileName without a folder, as "uxtheme.dll". A DLL that is missing leaves it unloaded.
  explicit SystemLibrary(const wchar_t* fileName);
  SystemLibrary(const SystemLibrary&) = delete;
  SystemLibrary& operator=(const SystemLibrary&) = delete;

  bool Loaded() const { return module_ != nullptr; }
  // The named export as a pointer of type Function; nullptr when the DLL or the function is
  // missing (an older Windows), which the caller must allow for.
  template <typename Function>
  Function Find(const char* name) const {
    static_assert(std::is_pointer_v<Function>, "Find takes a pointer-to-function type");
    return reinterpret_cast<Function>(FindAddress(name));
  }

 private:
  void* FindAddress(const char* name) const;

  UniqueModule module_;
};

}  // namespace win32
