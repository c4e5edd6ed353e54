// Files as the program sees them: dates, ordinary files, size-limited reads, pictures.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "runtime/Failure.h"
#include "runtime/win32/Win32Application.h"
#include "runtime/win32/Win32FileSystem.h"

namespace {

class FileSystemTest : public ::testing::Test {
 protected:
  void SetUp() override {
    wchar_t temp[MAX_PATH];
    ::GetTempPathW(MAX_PATH, temp);
    folder_ = std::wstring(temp) + L"vornatic-fs-test-" + std::to_wstring(::GetCurrentProcessId());
    ::CreateDirectoryW(folder_.c_str(), nullptr);
  }
  void TearDown() override {
    for (const std::wstring& file : created_) {
      ::SetFileAttributesW(file.c_str(), FILE_ATTRIBUTE_NORMAL);
      ::DeleteFileW(file.c_str());
    }
    ::RemoveDirectoryW(folder_.c_str());
  }
  std::wstring Write(const std::wstring& name, const std::string& bytes) {
    const std::wstring path = folder_ + L"\\" + name;
    HANDLE file = ::CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    DWORD written = 0;
    ::WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    ::CloseHandle(file);
    created_.push_back(path);
    return path;
  }

  win32::Win32FileSystem files_;
  std::wstring folder_;
  std::vector<std::wstring> created_;
};

TEST_F(FileSystemTest, OnlyVisibleNonSystemFilesAreOrdinary) {
  const std::wstring plain = Write(L"plain.txt", "x");
  const std::wstring hidden = Write(L"hidden.txt", "x");
  const std::wstring system = Write(L"system.txt", "x");
  ::SetFileAttributesW(hidden.c_str(), FILE_ATTRIBUTE_HIDDEN);
  ::SetFileAttributesW(system.c_str(), FILE_ATTRIBUTE_SYSTEM);
  EXPECT_TRUE(files_.IsOrdinaryFile(plain));
  EXPECT_FALSE(files_.IsOrdinaryFile(hidden));
  EXPECT_FALSE(files_.IsOrdinaryFile(system));
  EXPECT_FALSE(files_.IsOrdinaryFile(folder_));
  EXPECT_FALSE(files_.IsOrdinaryFile(folder_ + L"\\missing.txt"));
}

TEST_F(FileSystemTest, ReadingStopsAtTheSizeLimit) {
  const std::wstring path = Write(L"ten.txt", "0123456789");
  const auto whole = files_.ReadFile(path, 10);
  ASSERT_TRUE(whole.has_value());
  EXPECT_EQ(std::string(whole->begin(), whole->end()), "0123456789");
  EXPECT_FALSE(files_.ReadFile(path, 9).has_value());
  EXPECT_FALSE(files_.ReadFile(folder_ + L"\\missing.txt", 100).has_value());
}

TEST_F(FileSystemTest, LastModifiedOfAMissingFileFailsWithTheSystemsWords) {
  const std::wstring path = Write(L"dated.txt", "x");
  EXPECT_GT(files_.LastModified(path), 0);
  try {
    files_.LastModified(folder_ + L"\\missing.txt");
    FAIL() << "no failure";
  } catch (const rt::Failure& failure) {
    EXPECT_FALSE(failure.Description().empty());
    EXPECT_NE(failure.Description(), L"System error 2") << "the system's own text, not just the number";
  }
}

TEST_F(FileSystemTest, AFileThatIsNoPictureFailsToLoad) {
  const std::wstring path = Write(L"HAND-M.CUR", "this is not a cursor");
  try {
    files_.LoadPicture(path);
    FAIL() << "no failure";
  } catch (const rt::Failure& failure) {
    EXPECT_EQ(failure.Description(), L"Invalid picture");
  }
}

TEST_F(FileSystemTest, TheShippedHandCursorLoadsWithItsHotSpotAtTheFingertip) {
  const std::wstring path = win32::Win32Application(::GetModuleHandleW(nullptr)).ProgramFolder() + L"\\HAND-M.CUR";
  const rt::PicturePtr picture = files_.LoadPicture(path);
  ASSERT_NE(picture, nullptr);
  EXPECT_EQ(picture->Type(), rt::pic::kIcon);
  ICONINFO info{};
  ASSERT_TRUE(::GetIconInfo(reinterpret_cast<HICON>(picture->Handle()), &info));
  EXPECT_FALSE(info.fIcon);
  EXPECT_EQ(info.xHotspot, 5u);
  EXPECT_EQ(info.yHotspot, 0u);
  if (info.hbmColor) ::DeleteObject(info.hbmColor);
  ::DeleteObject(info.hbmMask);
}

}  // namespace
