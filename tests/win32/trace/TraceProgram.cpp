// A stand-in program for the adapter tests: leaves its command line in a file named after
// itself (NAME.exe writes NAME.exe.ran beside it) and ends, so a test can tell whether,
// and with what, it was started.
#include <windows.h>

#include <string>

int wmain() {
  std::wstring path(MAX_PATH, L'\0');
  path.resize(::GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size())));
  const HANDLE file = ::CreateFileW((path + L".ran").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return 1;
  const std::wstring line = ::GetCommandLineW();
  DWORD written = 0;
  ::WriteFile(file, line.data(), static_cast<DWORD>(line.size() * sizeof(wchar_t)), &written, nullptr);
  ::CloseHandle(file);
  return 0;
}
