// The user's text size as Windows keeps it: the message font comes from the system's
// parameters in points, and a change of it, once Windows announces a setting changed, is
// passed on once; a setting change that leaves it alone is not.
#include <windows.h>

#include <gtest/gtest.h>

#include "runtime/win32/Win32TextMetrics.h"

namespace {

// Sets the message font's height for this process and puts the old one back on the way out.
class MessageFontHeight {
 public:
  explicit MessageFontHeight(LONG height) {
    metrics_.cbSize = sizeof(metrics_);
    ok_ = SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(metrics_), &metrics_, 0) != FALSE;
    NONCLIENTMETRICSW changed = metrics_;
    changed.lfMessageFont.lfHeight = height;
    ok_ = ok_ && SystemParametersInfoW(SPI_SETNONCLIENTMETRICS, sizeof(changed), &changed, 0) != FALSE;
  }
  ~MessageFontHeight() { SystemParametersInfoW(SPI_SETNONCLIENTMETRICS, sizeof(metrics_), &metrics_, 0); }
  bool ok() const { return ok_; }

 private:
  NONCLIENTMETRICSW metrics_{};
  bool ok_ = false;
};

TEST(TextSizeTest, AGrownMessageFontIsReadInPointsAndAnnouncedOnce) {
  win32::Win32TextMetrics metrics;
  int heard = 0;
  {
    const MessageFontHeight at100(-12);  // 9 points at 96 DPI
    ASSERT_TRUE(at100.ok());
    metrics.OnTextSizeChanged([&] { ++heard; });
    EXPECT_DOUBLE_EQ(metrics.MessageFont().points, 9.0);
    metrics.SettingChanged();
    EXPECT_EQ(heard, 0) << "nothing changed";
  }
  const MessageFontHeight at225(-27);
  ASSERT_TRUE(at225.ok());
  metrics.SettingChanged();
  metrics.SettingChanged();
  EXPECT_EQ(heard, 1);
  EXPECT_DOUBLE_EQ(metrics.MessageFont().points, 20.25);
  const auto room = metrics.WorkArea();
  EXPECT_GT(room.width, 0);
  EXPECT_GT(room.height, 0);
}

}  // namespace
