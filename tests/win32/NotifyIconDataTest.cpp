// The tray record as the shell receives it.
#include <gtest/gtest.h>
#include <windows.h>

#include "runtime/win32/Win32NotifyIcons.h"

namespace {

template <std::size_t N>
void Fill(std::array<char16_t, N>& text, char16_t first) {
  for (std::size_t i = 0; i < N; ++i) text[i] = static_cast<char16_t>(first + i % 26);
}

// The shell reads each text up to its NUL: a record filled to the last element must still
// end in one, and nothing before it may be lost.
TEST(NotifyIconDataTest, EveryTextEndsInANulAndKeepsWhatFits) {
  rt::TrayRecord record;
  record.uFlags = rt::nif::kTip | rt::nif::kInfo;
  // Full to the last element and without a terminator: the conversion must add one.
  Fill(record.szTip, u'a');
  Fill(record.szInfo, u'A');
  Fill(record.szInfoTitle, u'a');
  record.szInfo[3] = u'\0';  // text after an early NUL is copied too: the record goes whole

  const NOTIFYICONDATAW data = win32::ToNotifyIconData(record);

  EXPECT_EQ(data.cbSize, sizeof(NOTIFYICONDATAW));

  for (std::size_t i = 0; i + 1 < record.szTip.size(); ++i) ASSERT_EQ(data.szTip[i], record.szTip[i]) << i;
  for (std::size_t i = 0; i + 1 < record.szInfo.size(); ++i) ASSERT_EQ(data.szInfo[i], record.szInfo[i]) << i;
  for (std::size_t i = 0; i + 1 < record.szInfoTitle.size(); ++i)
    ASSERT_EQ(data.szInfoTitle[i], record.szInfoTitle[i]) << i;
  EXPECT_EQ(data.szTip[127], L'\0');
  EXPECT_EQ(data.szInfo[255], L'\0');
  EXPECT_EQ(data.szInfoTitle[63], L'\0');
}

// The shell reads uTimeout and uVersion from one field: a request for version 4 must
// arrive as one, and a balloon's time-out stay what it was.
TEST(NotifyIconDataTest, AVersionRequestCarriesVersion4) {
  rt::TrayRecord request;
  request.uVersion = rt::kNotifyIconVersion4;
  EXPECT_EQ(win32::ToNotifyIconData(request).uVersion, static_cast<UINT>(NOTIFYICON_VERSION_4));
  rt::TrayRecord balloon;
  balloon.uTimeout = 5000;
  EXPECT_EQ(win32::ToNotifyIconData(balloon).uTimeout, 5000u);
  EXPECT_EQ(rt::nim::kSetVersion, static_cast<std::uint32_t>(NIM_SETVERSION));
  EXPECT_EQ(rt::nif::kShowTip, static_cast<std::uint32_t>(NIF_SHOWTIP));
}

}  // namespace
