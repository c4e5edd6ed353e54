// The custom actions of Vornatic's MSI package, which the Windows Installer loads from the
// package itself (the Binary table): a running Vornatic is asked to close before its files
// are replaced or removed, and when the product goes for good, what was added beside it
// goes with it: the run-at-logon entry that starts this copy, so that no logon tries to
// start a program that is gone, and the skin put into its folder, so that the folder goes.
#include <windows.h>
// after windows.h, which it needs
#include <msiquery.h>

#include <string>

#include "runtime/win32/CloseRequest.h"
#include "runtime/win32/FileIdentity.h"
#include "runtime/win32/Handles.h"
#include "runtime/win32/WindowClasses.h"
#include "settings/RegStuff.h"
#include "settings/RunCommandLine.h"

namespace {

constexpr DWORD kCloseWaitMs = 15000;
constexpr DWORD kEndWaitMs = 5000;
constexpr wchar_t kExecutableName[] = L"Vornatic.exe";
// The one skin the program reads, beside itself (ui/SkinFile.h); someone put it there.
constexpr wchar_t kSkinFolder[] = L"x";
constexpr wchar_t kSkinFile[] = L"x\\o.cjs";

// A line in the installation's log (msiexec /l*v), where an administrator looks when a
// deployment went wrong.
void Log(MSIHANDLE install, const std::wstring& text) {
  const MSIHANDLE record = ::MsiCreateRecord(0);
  if (record == 0) return;
  ::MsiRecordSetStringW(record, 0, (L"Vornatic: " + text).c_str());
  ::MsiProcessMessage(install, INSTALLMESSAGE_INFO, record);
  ::MsiCloseHandle(record);
}

std::wstring Property(MSIHANDLE install, const wchar_t* name) {
  DWORD length = 0;
  wchar_t none[1] = L"";
  if (::MsiGetPropertyW(install, name, none, &length) != ERROR_MORE_DATA) return {};
  std::wstring value(++length, L'\0');
  if (::MsiGetPropertyW(install, name, value.data(), &length) != ERROR_SUCCESS) return {};
  value.resize(length);
  return value;
}

// Asks one copy to close as a user closes it, so that its tray icon goes and a held button
// is let go, and waits for its process to end. The registered close request reaches a copy
// started as administrator, which WM_CLOSE from here would not. Nobody can be asked what to
// do about a copy that does not close (the package has no dialogs), so it is ended, as the
// silent setup ends it. False when it is still there.
bool CloseCopy(MSIHANDLE install, HWND window, UINT closeRequest) {
  DWORD processId = 0;
  ::GetWindowThreadProcessId(window, &processId);
  win32::UniqueKernelHandle process(::OpenProcess(SYNCHRONIZE | PROCESS_TERMINATE, FALSE, processId));
  if (!process) process.reset(::OpenProcess(SYNCHRONIZE, FALSE, processId));  // ours to wait for, not to end
  Log(install, L"closing the running copy (process " + std::to_wstring(processId) + L")");
  ::PostMessageW(window, closeRequest, 0, 0);
  ::PostMessageW(window, WM_CLOSE, 0, 0);
  if (!process) return false;
  if (::WaitForSingleObject(process.get(), kCloseWaitMs) == WAIT_OBJECT_0) return true;
  Log(install, L"the copy did not close; ending it");
  return ::TerminateProcess(process.get(), 1) && ::WaitForSingleObject(process.get(), kEndWaitMs) == WAIT_OBJECT_0;
}

// A text value with its variables filled in, as Windows reads a Run value; empty when there
// is none.
std::wstring ExpandedText(HKEY key, const wchar_t* name) {
  constexpr DWORD kText = RRF_RT_REG_SZ | RRF_RT_REG_EXPAND_SZ | RRF_NOEXPAND;
  DWORD bytes = 0;
  if (::RegGetValueW(key, nullptr, name, kText, nullptr, nullptr, &bytes) != ERROR_SUCCESS) return {};
  std::wstring text(bytes / sizeof(wchar_t) + 1, L'\0');
  if (::RegGetValueW(key, nullptr, name, kText, nullptr, text.data(), &bytes) != ERROR_SUCCESS) return {};
  text.resize(::wcsnlen(text.c_str(), text.size()));
  const DWORD length = ::ExpandEnvironmentStringsW(text.c_str(), nullptr, 0);
  std::wstring expanded(length, L'\0');
  if (length == 0 || ::ExpandEnvironmentStringsW(text.c_str(), expanded.data(), length) != length) return text;
  expanded.resize(length - 1);
  return expanded;
}

// Takes the value out of one Run key when it starts the installed executable, quoted or
// not, with arguments or without, its variables filled in; one that starts a copy elsewhere
// is someone else's.
void ForgetRunValue(MSIHANDLE install, HKEY root, const wchar_t* rootName, const std::wstring& executable) {
  const auto installed = win32::FileIdentity(executable);
  if (!installed) return;
  HKEY opened = nullptr;
  if (::RegOpenKeyExW(root, RegStuff::kRunKey, 0, KEY_QUERY_VALUE | KEY_SET_VALUE, &opened) != ERROR_SUCCESS) return;
  const win32::UniqueKey key(opened);
  const std::wstring command = ExpandedText(key.get(), kExecutableName);
  if (command.empty()) return;
  const bool ours = runcommand::StartsProgram(
      command, [&installed](const std::wstring& path) { return win32::FileIdentity(path) == installed; });
  if (!ours) return;
  const LSTATUS deleted = ::RegDeleteValueW(key.get(), kExecutableName);
  Log(install, std::wstring(deleted == ERROR_SUCCESS ? L"took out " : L"could not take out ") +
                   L"the run-at-logon entry under " + rootName);
}

}  // namespace

// Removing or repairing an installed Vornatic works on the folder it was installed into, which
// the Windows Installer recorded (ARPINSTALLLOCATION): a folder given as INSTALLDIR, or the
// user's own one, is not where the directory table points by default, and not every
// Windows Installer finds it again by itself (Wine's does not).
extern "C" __declspec(dllexport) UINT __stdcall FindInstallFolder(MSIHANDLE install) {
  const std::wstring product = Property(install, L"ProductCode");
  DWORD length = 0;
  wchar_t none[1] = L"";
  if (::MsiGetProductInfoW(product.c_str(), INSTALLPROPERTY_INSTALLLOCATION, none, &length) != ERROR_MORE_DATA)
    return ERROR_SUCCESS;
  std::wstring folder(++length, L'\0');
  if (::MsiGetProductInfoW(product.c_str(), INSTALLPROPERTY_INSTALLLOCATION, folder.data(), &length) != ERROR_SUCCESS)
    return ERROR_SUCCESS;
  folder.resize(length);
  if (!folder.empty()) {
    ::MsiSetPropertyW(install, L"INSTALLDIR", folder.c_str());
    Log(install, L"installed in " + folder);
  }
  return ERROR_SUCCESS;
}

extern "C" __declspec(dllexport) UINT __stdcall CloseVornatic(MSIHANDLE install) {
  const UINT closeRequest = ::RegisterWindowMessageW(win32::kCloseRequestName);
  HWND notEnded = nullptr;  // the search goes on past a copy that could not be ended
  while (HWND window = ::FindWindowExW(nullptr, notEnded, win32::kMainWindowClass, nullptr)) {
    if (!CloseCopy(install, window, closeRequest)) {
      Log(install, L"a copy is still running; going on beside it");
      notEnded = window;
    }
  }
  return ERROR_SUCCESS;
}

extern "C" __declspec(dllexport) UINT __stdcall RemoveLeftovers(MSIHANDLE install) {
  const std::wstring folder = Property(install, L"INSTALLDIR");
  if (folder.empty()) return ERROR_SUCCESS;
  const std::wstring executable = folder + kExecutableName;
  ForgetRunValue(install, HKEY_CURRENT_USER, L"HKEY_CURRENT_USER", executable);
  ForgetRunValue(install, HKEY_LOCAL_MACHINE, L"HKEY_LOCAL_MACHINE", executable);
  if (::DeleteFileW((folder + kSkinFile).c_str())) Log(install, L"removed the skin x\\o.cjs");
  ::RemoveDirectoryW((folder + kSkinFolder).c_str());  // only when empty
  return ERROR_SUCCESS;
}
