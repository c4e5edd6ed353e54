#include "runtime/win32/Win32ProgramStarter.h"

#include <windows.h>
// After windows.h, which it needs.
#include <shellapi.h>

#include "runtime/Failure.h"
#include "runtime/win32/Com.h"
#include "runtime/win32/Handles.h"
#include "runtime/win32/SystemMessage.h"

namespace win32 {
void Win32ProgramStarter::Start(const std::wstring& commandLine, int windowStyle) {
  // CreateProcessW may write into the command line it is given.
  std::wstring writable = commandLine;
  STARTUPINFOW startup{};
  startup.cb = sizeof(startup);
  startup.dwFlags = STARTF_USESHOWWINDOW;
  startup.wShowWindow = static_cast<WORD>(windowStyle);
  PROCESS_INFORMATION started{};
  if (!::CreateProcessW(nullptr, writable.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &started))
    throw rt::Failure(SystemMessage(::GetLastError()));
  // Not waited for: the handles are let go at once.
  UniqueKernelHandle process(started.hProcess);
  UniqueKernelHandle thread(started.hThread);
}

void Win32ProgramStarter::OpenWebPage(const std::wstring& address, int windowStyle) {
  ComApartment com;
  const auto result =
      reinterpret_cast<INT_PTR>(::ShellExecuteW(nullptr, L"open", address.c_str(), nullptr, nullptr, windowStyle));
  // Values up to 32 are errors, most of them also left in the thread's last error.
  if (result <= 32)
    throw rt::Failure(SystemMessage(result == SE_ERR_NOASSOC ? ERROR_NO_ASSOCIATION : ::GetLastError()));
}

}  // namespace win32
