// The registry backend under the program's own writers, against the real registry.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "runtime/win32/Handles.h"
#include "runtime/win32/Win32Application.h"
#include "runtime/win32/Win32Registry.h"
#include "runtime/win32/Win32TextSource.h"
#include "settings/RegStuff.h"
#include "settings/SettingsStore.h"

namespace {

const wchar_t* const kRunKey = L"Software\\Microsoft\\Windows\\CurrentVersion\\Run";
const wchar_t* const kScratchKey = L"Software\\Kestrova\\VornaticRegistryTest";

// A program living in a folder with blanks and characters from several scripts, one of
// them outside the basic plane.
const std::wstring kFolder =
    L"C:\\Program Files\\Zo\u00EB Dr\u00E4g \u041F\u0440\u043E\u0433\u0440\u0430\u043C\u0430 "
    L"\u30C4\u30FC\u30EB \U0001F5B1";
const std::wstring kFileName = L"Vornatic Registry Test.exe";

// The program as if it lived there: a real file in that folder stands for its executable,
// so that the file system can tell whether a Run value leads to it.
class FolderOnly : public win32::Win32Application {
 public:
  FolderOnly() : Win32Application(::GetModuleHandleW(nullptr)) {}
  std::wstring ProgramFolder() override { return kFolder; }
  std::wstring ExecutablePath() override { return kFolder + L"\\" + kFileName; }
};

class NoDialogs : public rt::Dialogs {
 public:
  int MessageBox(const std::wstring& text, int, const std::wstring&) override {
    ADD_FAILURE() << "unexpected message box: " << std::string(text.begin(), text.end());
    return rt::mb::kOk;
  }
};

// The machine's key opens only for reading, as it does for a user without administrator rights.
class MachineReadOnly : public win32::Win32Registry {
 public:
  long OpenKey(rt::RegKey root, const std::wstring& subKey, std::uint32_t access, rt::RegKey* result) override {
    if (root == rt::kHkeyLocalMachine && (access & KEY_SET_VALUE) != 0) return ERROR_ACCESS_DENIED;
    return Win32Registry::OpenKey(root, subKey, access, result);
  }
};

// Reads a value with Windows' own calls, so the check does not go through the code under test.
LSTATUS ReadString(HKEY root, const wchar_t* subKey, const std::wstring& name, std::wstring* text) {
  DWORD bytes = 0;
  LSTATUS status = ::RegGetValueW(root, subKey, name.c_str(), RRF_RT_REG_SZ, nullptr, nullptr, &bytes);
  if (status != ERROR_SUCCESS) return status;
  std::wstring buffer(bytes / sizeof(wchar_t), L'\0');
  status = ::RegGetValueW(root, subKey, name.c_str(), RRF_RT_REG_SZ, nullptr, buffer.data(), &bytes);
  if (status == ERROR_SUCCESS) *text = buffer.substr(0, buffer.find(L'\0'));
  return status;
}

class RegistryTest : public ::testing::Test {
 protected:
  void SetUp() override {
    HKEY key = nullptr;
    // A fresh Windows has both Run keys; make sure the prefix the test runs in does too.
    ASSERT_EQ(::RegCreateKeyExW(HKEY_CURRENT_USER, kRunKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr), 0);
    ::RegCloseKey(key);
    ASSERT_EQ(::RegCreateKeyExW(HKEY_CURRENT_USER, kScratchKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr),
              0);
    ::RegCloseKey(key);
    ASSERT_TRUE(::CreateDirectoryW(kFolder.c_str(), nullptr) || ::GetLastError() == ERROR_ALREADY_EXISTS);
    const std::wstring executable = app.ExecutablePath();
    win32::UniqueKernelHandle file = win32::AdoptFileHandle(
        ::CreateFileW(executable.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    ASSERT_TRUE(file);
  }
  void TearDown() override {
    ::DeleteFileW(app.ExecutablePath().c_str());
    ::RemoveDirectoryW(kFolder.c_str());
    ::RegDeleteKeyValueW(HKEY_LOCAL_MACHINE, kRunKey, kFileName.c_str());
    ::RegDeleteKeyValueW(HKEY_CURRENT_USER, kRunKey, kFileName.c_str());
    ::RegDeleteTreeW(HKEY_CURRENT_USER, kScratchKey);
    ::RegDeleteKeyW(HKEY_CURRENT_USER, kScratchKey);
  }

  FolderOnly app;
};

// Wine, like an administrator's Windows, lets the program write the machine's key: only
// the user's may get the entry all the same.
TEST_F(RegistryTest, RunValueWithBlanksAndOtherScriptsGoesToTheUsersKeyAloneAndIsDeleted) {
  win32::Win32Registry registry;
  RegStuff regStuff{registry, app};
  ASSERT_TRUE(regStuff.AddRunValue(kFileName));

  std::wstring data;
  EXPECT_EQ(ReadString(HKEY_LOCAL_MACHINE, kRunKey, kFileName, &data), ERROR_FILE_NOT_FOUND);
  ASSERT_EQ(ReadString(HKEY_CURRENT_USER, kRunKey, kFileName, &data), ERROR_SUCCESS);
  EXPECT_EQ(data, L"\"" + kFolder + L"\\" + kFileName + L"\" /logon");
  DWORD type = 0, bytes = 0;
  ASSERT_EQ(::RegGetValueW(HKEY_CURRENT_USER, kRunKey, kFileName.c_str(), RRF_RT_ANY, &type, nullptr, &bytes), 0);
  EXPECT_EQ(type, static_cast<DWORD>(REG_SZ));
  EXPECT_EQ(bytes, (data.size() + 1) * sizeof(wchar_t)) << "stored with exactly one terminating NUL";
  EXPECT_EQ(regStuff.FindRunEntry(rt::kHkeyCurrentUser, kFileName), RegStuff::RunEntry::kThisProgram);

  EXPECT_EQ(regStuff.DeleteRunValue(kFileName), RegStuff::EntryLeft::kNone);
  EXPECT_EQ(ReadString(HKEY_CURRENT_USER, kRunKey, kFileName, &data), ERROR_FILE_NOT_FOUND);
  // Deleting again finds nothing and does no harm.
  EXPECT_EQ(regStuff.DeleteRunValue(kFileName), RegStuff::EntryLeft::kNone);
}

// An older version or an installer entered the program for every user, with a variable for
// its folder and in other letters' case. Windows' own expansion and file lookup make it
// ours: where the machine's key may not be written it is reported as staying, and where it
// may, it goes.
TEST_F(RegistryTest, AMachineEntryWrittenAnotherWayIsRecognisedAndGoesWhereItMay) {
  std::wstring upperFolder = kFolder;
  ::CharUpperBuffW(upperFolder.data(), static_cast<DWORD>(upperFolder.size()));
  ASSERT_NE(upperFolder, kFolder);
  ASSERT_TRUE(::SetEnvironmentVariableW(L"VORNATIC_TEST_FOLDER", upperFolder.c_str()));
  const std::wstring command = L"\"%VORNATIC_TEST_FOLDER%\\vornatic REGISTRY test.EXE\" /tray";
  ASSERT_EQ(::RegSetKeyValueW(HKEY_LOCAL_MACHINE, kRunKey, kFileName.c_str(), REG_EXPAND_SZ, command.c_str(),
                              static_cast<DWORD>((command.size() + 1) * sizeof(wchar_t))),
            ERROR_SUCCESS);

  MachineReadOnly standardUser;
  RegStuff asUser{standardUser, app};
  EXPECT_EQ(asUser.FindRunEntry(rt::kHkeyLocalMachine, kFileName), RegStuff::RunEntry::kThisProgram);
  EXPECT_EQ(asUser.DeleteRunValue(kFileName), RegStuff::EntryLeft::kForEveryUser);

  win32::Win32Registry registry;
  RegStuff asAdministrator{registry, app};
  EXPECT_EQ(asAdministrator.DeleteRunValue(kFileName), RegStuff::EntryLeft::kNone);
  std::wstring data;
  EXPECT_EQ(ReadString(HKEY_LOCAL_MACHINE, kRunKey, kFileName, &data), ERROR_FILE_NOT_FOUND);
  ::SetEnvironmentVariableW(L"VORNATIC_TEST_FOLDER", nullptr);
}

TEST_F(RegistryTest, DwordIsStoredLittleEndianAndReadsBack) {
  win32::Win32Registry registry;
  RegStuff regStuff{registry, app};
  ASSERT_EQ(
      regStuff.SetKeyValue(rt::kHkeyCurrentUser, kScratchKey, L"Number", std::int32_t{0x12345678}, rt::reg::kDword), 0);
  ASSERT_EQ(regStuff.SetKeyValue(rt::kHkeyCurrentUser, kScratchKey, L"Negative", std::int32_t{-2}, rt::reg::kDword), 0);

  DWORD value = 0, bytes = sizeof(value);
  ASSERT_EQ(::RegGetValueW(HKEY_CURRENT_USER, kScratchKey, L"Number", RRF_RT_REG_DWORD, nullptr, &value, &bytes), 0);
  EXPECT_EQ(value, 0x12345678u);
  bytes = sizeof(value);
  ASSERT_EQ(::RegGetValueW(HKEY_CURRENT_USER, kScratchKey, L"Negative", RRF_RT_REG_DWORD, nullptr, &value, &bytes), 0);
  EXPECT_EQ(value, 0xFFFFFFFEu);

  // Through the backend's own reading, too.
  rt::RegKey key = 0;
  ASSERT_EQ(registry.OpenKey(rt::kHkeyCurrentUser, kScratchKey, rt::reg::kKeyRead, &key), 0);
  const rt::RegistryKey open(registry, key);
  std::uint32_t type = 0;
  std::vector<std::uint8_t> data;
  ASSERT_EQ(registry.QueryValue(open.get(), L"Number", &type, &data), 0);
  EXPECT_EQ(type, rt::reg::kDword);
  EXPECT_EQ(data, (std::vector<std::uint8_t>{0x78, 0x56, 0x34, 0x12}));
}

TEST_F(RegistryTest, SettingsKeepTextInAnyScriptAcrossStores) {
  win32::Win32Registry registry;
  NoDialogs dialogs;
  const win32::Win32TextSource catalogue(::GetModuleHandleW(nullptr));
  const rt::Texts texts(catalogue, rt::Language::English);
  const std::wstring application = L"Kestrova";
  const std::wstring section = L"VornaticRegistryTest\\Stor\u00E9 \U0001F5B1";
  {
    SettingsStore store{registry, dialogs, texts, L"Vornatic"};
    EXPECT_EQ(store.GetSetting(application, section, L"Minimized", L"Off"), L"Off");
    store.SaveSetting(application, section, L"Minimized", L"On");
    store.SaveSetting(application, section, L"Note", L"\u00E9\u0416\U0001F5B1");
  }
  SettingsStore nextRun{registry, dialogs, texts, L"Vornatic"};
  EXPECT_EQ(nextRun.GetSetting(application, section, L"Minimized", L"Off"), L"On");
  EXPECT_EQ(nextRun.GetSetting(application, section, L"Note", L""), L"\u00E9\u0416\U0001F5B1");

  std::wstring data;
  const std::wstring path = L"Software\\Kestrova\\" + section;
  ASSERT_EQ(ReadString(HKEY_CURRENT_USER, path.c_str(), L"Minimized", &data), ERROR_SUCCESS);
  EXPECT_EQ(data, L"On");
}

}  // namespace
