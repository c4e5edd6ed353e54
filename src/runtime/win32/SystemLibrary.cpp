#include "runtime/win32/SystemLibrary.h"

namespace win32 {

void LoadDllsFromSystem32Only() {
  if (::SetDefaultDllDirectories(LOAD_LIBRARY_SEARCH_SYSTEM32)) return;
  // Should Windows refuse, the current directory at least drops out of the search.
  ::SetDllDirectoryW(L"");
}

SystemLibrary::SystemLibrary(const wchar_t* fileName)
    : module_(::LoadLibraryExW(fileName, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32)) {}

void* SystemLibrary::FindAddress(const char* name) const {
  if (!module_) return nullptr;
  // Through void* rather than straight from FARPROC, which GCC warns about.
  return reinterpret_cast<void*>(::GetProcAddress(module_.get(), name));
}

}  // namespace win32
