// Where the program lives, and the icons it carries.
#include <gtest/gtest.h>
#include <windows.h>

#include <vector>

#include "ResourceIds.h"
#include "runtime/Paths.h"
#include "runtime/win32/Handles.h"
#include "runtime/win32/Win32Application.h"

namespace {

using rt::FolderOf;

TEST(ApplicationTest, ProgramFolderKeepsABackslashOnlyAtADrivesRoot) {
  EXPECT_EQ(FolderOf(L"C:\\Program Files\\Vornatic\\Vornatic.exe"), L"C:\\Program Files\\Vornatic");
  EXPECT_EQ(FolderOf(L"C:\\Vornatic.exe"), L"C:\\");
  EXPECT_EQ(FolderOf(L"\\\\server\\share\\Vornatic.exe"), L"\\\\server\\share");
  EXPECT_EQ(FolderOf(L"D:\\Tools\\x\\Vornatic.exe"), L"D:\\Tools\\x");
}

TEST(ApplicationTest, ProgramFolderHoldsTheRunningExecutable) {
  win32::Win32Application app(::GetModuleHandleW(nullptr));
  const std::wstring executable = app.ExecutablePath();
  const std::wstring folder = app.ProgramFolder();
  ASSERT_GT(executable.size(), folder.size());
  EXPECT_EQ(executable.compare(0, folder.size(), folder), 0);
  EXPECT_NE(folder.back(), L'\\');
  EXPECT_EQ(executable.substr(executable.size() - 4), L".exe");
  EXPECT_NE(::GetFileAttributesW(executable.c_str()), INVALID_FILE_ATTRIBUTES);
}

// A Run value may name the program in other letters' case or by its short name; a path
// that merely starts the same way, or another file of the folder, is not the program.
TEST(ApplicationTest, ThisExecutableIsRecognisedHoweverItsPathIsWritten) {
  win32::Win32Application app(::GetModuleHandleW(nullptr));
  const std::wstring executable = app.ExecutablePath();
  std::wstring upper = executable;
  ::CharUpperBuffW(upper.data(), static_cast<DWORD>(upper.size()));
  std::wstring shortName(MAX_PATH, L'\0');
  shortName.resize(::GetShortPathNameW(executable.c_str(), shortName.data(), MAX_PATH));

  EXPECT_TRUE(app.IsThisExecutable(executable));
  EXPECT_TRUE(app.IsThisExecutable(upper));
  ASSERT_FALSE(shortName.empty());
  EXPECT_TRUE(app.IsThisExecutable(shortName));

  const std::wstring other = app.ProgramFolder() + L"\\vornatic-application-test.tmp";
  { win32::AdoptFileHandle(::CreateFileW(other.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr)); }
  EXPECT_FALSE(app.IsThisExecutable(other));
  ::DeleteFileW(other.c_str());
  EXPECT_FALSE(app.IsThisExecutable(other));
  EXPECT_FALSE(app.IsThisExecutable(app.ProgramFolder()));
  EXPECT_FALSE(app.IsThisExecutable(executable + L".old"));
  EXPECT_FALSE(app.IsThisExecutable(L""));
}

struct IconPixels {
  int width = 0;
  int height = 0;
  std::vector<COLORREF> colour;  // top row first
  std::vector<bool> mask;        // true where the AND mask lets the background through

  COLORREF At(int x, int y) const { return colour[y * width + x]; }
};

IconPixels ReadIcon(HICON icon) {
  IconPixels pixels;
  ICONINFO info{};
  if (!::GetIconInfo(icon, &info)) return pixels;
  BITMAP bitmap{};
  ::GetObjectW(info.hbmColor, sizeof(bitmap), &bitmap);
  pixels.width = bitmap.bmWidth;
  pixels.height = bitmap.bmHeight;
  HDC screen = ::GetDC(nullptr);
  auto read = [&](HBITMAP source) {
    BITMAPINFO format{};
    format.bmiHeader.biSize = sizeof(format.bmiHeader);
    format.bmiHeader.biWidth = pixels.width;
    format.bmiHeader.biHeight = -pixels.height;
    format.bmiHeader.biPlanes = 1;
    format.bmiHeader.biBitCount = 32;
    std::vector<DWORD> bgr(static_cast<size_t>(pixels.width * pixels.height));
    ::GetDIBits(screen, source, 0, pixels.height, bgr.data(), &format, DIB_RGB_COLORS);
    return bgr;
  };
  for (DWORD p : read(info.hbmColor)) pixels.colour.push_back(RGB((p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF));
  for (DWORD p : read(info.hbmMask)) pixels.mask.push_back((p & 0xFFFFFF) != 0);
  ::ReleaseDC(nullptr, screen);
  ::DeleteObject(info.hbmColor);
  ::DeleteObject(info.hbmMask);
  return pixels;
}

TEST(ApplicationTest, TrayIconIsTheBlueKOnCyanInABlackFrameWithNoTransparency) {
  win32::Win32Application app(::GetModuleHandleW(nullptr));
  const rt::PicturePtr tray = app.TrayIconPicture();
  ASSERT_NE(tray, nullptr);
  EXPECT_EQ(tray->Type(), rt::pic::kIcon);
  const IconPixels icon = ReadIcon(reinterpret_cast<HICON>(tray->Handle()));
  ASSERT_EQ(icon.width, 16);
  ASSERT_EQ(icon.height, 16);

  const COLORREF black = RGB(0, 0, 0), cyan = RGB(177, 255, 255), blue = RGB(7, 162, 254);
  for (int i = 0; i < 16; ++i) {
    EXPECT_EQ(icon.At(i, 0), black);
    EXPECT_EQ(icon.At(i, 15), black);
    EXPECT_EQ(icon.At(0, i), black);
    EXPECT_EQ(icon.At(15, i), black);
  }
  EXPECT_EQ(icon.At(2, 2), cyan);
  EXPECT_EQ(icon.At(13, 13), cyan);
  EXPECT_EQ(icon.At(4, 8), blue);    // the stem
  EXPECT_EQ(icon.At(10, 3), blue);   // the upper arm's end
  EXPECT_EQ(icon.At(10, 12), blue);  // the lower arm's end
  for (bool through : icon.mask) ASSERT_FALSE(through);
}

// Each small-icon size up to 200 % is drawn, not scaled from another: a one-pixel black
// frame around nothing but the cyan square and the blue K, with no blended colour between.
TEST(ApplicationTest, TheTrayArtIsDrawnCrispAtEverySmallIconSize) {
  const COLORREF black = RGB(0, 0, 0), cyan = RGB(177, 255, 255), blue = RGB(7, 162, 254);
  for (int side : {16, 20, 24, 32}) {
    win32::UniqueIcon loaded(static_cast<HICON>(::LoadImageW(
        ::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDI_VORNATIC_TRAY), IMAGE_ICON, side, side, LR_DEFAULTCOLOR)));
    ASSERT_NE(loaded, nullptr) << side;
    const IconPixels icon = ReadIcon(loaded.get());
    ASSERT_EQ(icon.width, side);
    int blues = 0, cyans = 0;
    for (int y = 0; y < side; ++y) {
      for (int x = 0; x < side; ++x) {
        const bool edge = x == 0 || y == 0 || x == side - 1 || y == side - 1;
        const COLORREF c = icon.At(x, y);
        if (edge) {
          ASSERT_EQ(c, black) << side << " at " << x << "," << y;
        } else {
          ASSERT_TRUE(c == cyan || c == blue) << side << " at " << x << "," << y << ": " << std::hex << c;
          (c == blue ? blues : cyans) += 1;
        }
      }
    }
    EXPECT_GT(blues, side) << side;
    EXPECT_GT(cyans, blues) << side;
  }
}

TEST(ApplicationTest, ApplicationIconLoadsAtTheSystemIconSize) {
  win32::Win32Application app(::GetModuleHandleW(nullptr));
  const rt::PicturePtr picture = app.ApplicationIcon();
  ASSERT_NE(picture, nullptr);
  const IconPixels icon = ReadIcon(reinterpret_cast<HICON>(picture->Handle()));
  EXPECT_EQ(icon.width, ::GetSystemMetrics(SM_CXICON));
  EXPECT_EQ(icon.At(0, 0), RGB(0, 0, 0));
  EXPECT_EQ(icon.At(icon.width / 2, 3 * icon.height / 16 - 1), RGB(177, 255, 255));
  // The big sizes are kept as PNG: Windows must read them as the drawing, not as nothing.
  for (int side : {28, 48, 64}) {
    win32::UniqueIcon loaded(static_cast<HICON>(::LoadImageW(::GetModuleHandleW(nullptr),
                                                             MAKEINTRESOURCEW(IDI_VORNATIC_APPLICATION), IMAGE_ICON,
                                                             side, side, LR_DEFAULTCOLOR)));
    ASSERT_NE(loaded, nullptr) << side;
    const IconPixels big = ReadIcon(loaded.get());
    ASSERT_EQ(big.width, side);
    EXPECT_EQ(big.At(0, 0), RGB(0, 0, 0)) << side;
    EXPECT_EQ(big.At(side / 2, 3 * side / 16 - 1), RGB(177, 255, 255)) << side;
  }
}

}  // namespace
