// The tray record as the shell receives it.
#include <gtest/gtest.h>
#include <windows.h>

#include "runtime/win32/Win32NotifyIcons.h"

namespace {

template <std::size_t N>
void Fill(std::array<char16_t, N>& text, char16_t first) {
  for (std::size_t i = 0; i < N; ++i) text[i] = static_cast<char16_t>(first + i % 26);
}

TEST(NotifyIconDataTest, EveryFieldIsCopiedAndEveryTextEndsInANul) {
  rt::TrayRecord record;
  record.hWnd = 0x1234;
  record.uID = 3;
  record.uFlags = rt::nif::kMessage | rt::nif::kIcon | rt::nif::kTip | rt::nif::kInfo;
  record.uCallbackMessage = 0x0200;
  record.hIcon = 0x5678;
  record.dwState = 1;
  record.dwStateMask = 1;
  record.uTimeout = 5000;
  record.dwInfoFlags = 0;
  // Full to the last element and without a terminator: the conversion must add one.
  Fill(record.szTip, u'a');
  Fill(record.szInfo, u'A');
  Fill(record.szInfoTitle, u'a');
  record.szInfo[3] = u'\0';  // text after an early NUL is copied too: the record goes whole

  const NOTIFYICONDATAW data = win32::ToNotifyIconData(record);

  EXPECT_EQ(data.cbSize, sizeof(NOTIFYICONDATAW));
  EXPECT_EQ(data.hWnd, reinterpret_cast<HWND>(0x1234));
  EXPECT_EQ(data.uID, 3u);
  EXPECT_EQ(data.uFlags, static_cast<UINT>(NIF_MESSAGE | NIF_ICON | NIF_TIP | NIF_INFO));
  EXPECT_EQ(data.uCallbackMessage, 0x0200u);
  EXPECT_EQ(data.hIcon, reinterpret_cast<HICON>(0x5678));
  EXPECT_EQ(data.dwState, 1u);
  EXPECT_EQ(data.dwStateMask, 1u);
  EXPECT_EQ(data.uTimeout, 5000u);
  EXPECT_EQ(data.dwInfoFlags, 0u);

  for (std::size_t i = 0; i + 1 < record.szTip.size(); ++i) ASSERT_EQ(data.szTip[i], record.szTip[i]) << i;
  for (std::size_t i = 0; i + 1 < record.szInfo.size(); ++i) ASSERT_EQ(data.szInfo[i], record.szInfo[i]) << i;
  for (std::size_t i = 0; i + 1 < record.szInfoTitle.size(); ++i)
    ASSERT_EQ(data.szInfoTitle[i], record.szInfoTitle[i]) << i;
  EXPECT_EQ(data.szTip[127], L'\0');
  EXPECT_EQ(data.szInfo[255], L'\0');
  EXPECT_EQ(data.szInfoTitle[63], L'\0');
  EXPECT_EQ(data.hBalloonIcon, nullptr);
}

}  // namespace
