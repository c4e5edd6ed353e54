// The real main window under the user's display settings: high contrast switched on and
// off while it runs (Wine cannot switch the system's theme, so the test gives the answer
// and sends the notice Windows sends), skins and the visual style, and icons at each DPI.
#include <windows.h>
#include <uxtheme.h>

#include <gtest/gtest.h>

#include <array>
#include <filesystem>
#include <fstream>
#include <memory>
#include <optional>
#include <vector>

#include "app/Program.h"
#include "runtime/win32/FormHost.h"
#include "runtime/win32/Guarded.h"
#include "runtime/win32/Win32Platform.h"

namespace {

class RecordingSink : public rt::UnhandledFailureSink {
 public:
  void OnUnhandledFailure(const std::exception&) noexcept override { ++told; }
  int told = 0;
};

// A memory bitmap a control paints into when the test hands it the DC.
class Canvas {
 public:
  Canvas() : dc_(::CreateCompatibleDC(nullptr)) {
    BITMAPINFO info{};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), 60, -20, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    bitmap_ = ::CreateDIBSection(dc_, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    previous_ = ::SelectObject(dc_, bitmap_);
  }
  Canvas(const Canvas&) = delete;
  Canvas& operator=(const Canvas&) = delete;
  ~Canvas() {
    ::SelectObject(dc_, previous_);
    ::DeleteObject(bitmap_);
    ::DeleteDC(dc_);
  }
  HDC dc() const { return dc_; }
  COLORREF At(int x, int y) const { return ::GetPixel(dc_, x, y); }

 private:
  HDC dc_;
  HBITMAP bitmap_;
  HGDIOBJ previous_;
};

// The system colours of a dark high-contrast theme for one test, then the old ones again.
class DarkSystemColours {
 public:
  DarkSystemColours() {
    for (std::size_t i = 0; i < kElements.size(); ++i) old_[i] = ::GetSysColor(kElements[i]);
    Set(kDark);
  }
  DarkSystemColours(const DarkSystemColours&) = delete;
  DarkSystemColours& operator=(const DarkSystemColours&) = delete;
  ~DarkSystemColours() { Set(old_); }

  static constexpr std::array<int, 4> kElements{COLOR_WINDOW, COLOR_WINDOWTEXT, COLOR_BTNFACE, COLOR_BTNTEXT};
  static constexpr std::array<COLORREF, 4> kDark{RGB(0, 0, 0), RGB(255, 255, 255), RGB(0, 0, 0), RGB(255, 255, 0)};

 private:
  static void Set(const std::array<COLORREF, 4>& colours) {
    ::SetSysColors(static_cast<int>(kElements.size()), kElements.data(), colours.data());
  }
  std::array<COLORREF, 4> old_{};
};

class ReadableWindowTest : public ::testing::Test {
 protected:
  ReadableWindowTest() { win32::ResetFailureHandlingForTesting(); }
  ~ReadableWindowTest() override {
    host.reset();
    win32::ResetFailureHandlingForTesting();
    std::error_code ignored;
    std::filesystem::remove(skinPath, ignored);
  }

  void Build(std::optional<int> dpi = 96) {
    host = std::make_unique<FormHost>(form.Me, sink, instance, dpi);
    host->AskHighContrastWith([this] { return highContrast; });
    form.Me.Show();
  }
  void ApplySkin() {
    std::ofstream(skinPath, std::ios::binary)
        << "[Skin]\nFormat = 1\nName = Tide\n[Window]\nBackground = #E3EFF8\nText = #0B3954\n"
           "[Controls]\nBackground = #D0E4F2\nText = #123456\n[Button]\nFace = #1B6CA8\nText = #FFFFFF\n";
    form.SkinFramework1.LoadSkin(skinPath.wstring(), L"");
    form.SkinFramework1.SetOptions(SkinFramework::kSkinControls);
    form.SkinFramework1.ApplyWindow(static_cast<std::int32_t>(form.Me.Handle()));
  }
  // What Windows does when the user switches high contrast.
  void SwitchHighContrast(bool on) {
    highContrast = on;
    ::SendMessageW(host->MainWindow(), WM_SETTINGCHANGE, SPI_SETHIGHCONTRAST, 0);
  }
  HWND Of(const rt::Control& control) const { return host->WindowOf(control); }

  // The background brush's colour and the text colour a control is given to paint with.
  std::pair<COLORREF, COLORREF> PaintColours(const rt::Control& control) const {
    Canvas canvas;
    const auto brush = reinterpret_cast<HBRUSH>(::SendMessageW(host->MainWindow(), WM_CTLCOLORSTATIC,
                                                               reinterpret_cast<WPARAM>(canvas.dc()),
                                                               reinterpret_cast<LPARAM>(Of(control))));
    LOGBRUSH description{};
    ::GetObjectW(brush, sizeof(description), &description);
    return {description.lbColor, ::GetTextColor(canvas.dc())};
  }
  COLORREF WindowBackground() const {
    Canvas canvas;
    ::SendMessageW(host->MainWindow(), WM_ERASEBKGND, reinterpret_cast<WPARAM>(canvas.dc()), 0);
    return canvas.At(30, 10);
  }
  // A pixel of the button's face clear of its border and caption.
  COLORREF ButtonFace(const rt::PushButton& button) const {
    Canvas canvas;
    DRAWITEMSTRUCT item{ODT_BUTTON,
                        static_cast<UINT>(::GetDlgCtrlID(Of(button))),
                        0,
                        ODA_DRAWENTIRE,
                        0,
                        Of(button),
                        canvas.dc(),
                        RECT{0, 0, 60, 20},
                        0};
    ::SendMessageW(host->MainWindow(), WM_DRAWITEM, item.CtlID, reinterpret_cast<LPARAM>(&item));
    return canvas.At(5, 10);
  }

  HINSTANCE instance = ::GetModuleHandleW(nullptr);
  RecordingSink sink;
  win32::Win32Platform platform{instance};
  Program program{platform.Bundle()};
  Form1& form = program.Window();
  bool highContrast = false;
  std::filesystem::path skinPath = std::filesystem::temp_directory_path() / "vornatic-readable-test.cjs";
  std::unique_ptr<FormHost> host;
};

TEST_F(ReadableWindowTest, HighContrastPaintsEveryControlInTheThemesColoursAndTheSkinComesBackAfter) {
  Build();
  ApplySkin();
  const COLORREF skinBack = RGB(0xD0, 0xE4, 0xF2), skinText = RGB(0x12, 0x34, 0x56), skinFace = RGB(0x1B, 0x6C, 0xA8);
  EXPECT_EQ(PaintColours(form.Check4), std::make_pair(skinBack, skinText));
  EXPECT_EQ(ButtonFace(form.PushButton2), skinFace);
  EXPECT_EQ(WindowBackground(), RGB(0xE3, 0xEF, 0xF8));

  DarkSystemColours dark;  // a theme's colours that differ from both the design's and the skin's
  SwitchHighContrast(true);
  const COLORREF black = RGB(0, 0, 0), white = RGB(255, 255, 255);
  for (const rt::Control* control :
       std::initializer_list<const rt::Control*>{&form.Check4, &form.Check8, &form.Frame1, &form.Label1})
    EXPECT_EQ(PaintColours(*control), std::make_pair(black, white)) << control->Name();
  EXPECT_EQ(WindowBackground(), black);
  EXPECT_EQ(ButtonFace(form.PushButton2), black);

  SwitchHighContrast(false);
  EXPECT_EQ(PaintColours(form.Check4), std::make_pair(skinBack, skinText));
  EXPECT_EQ(PaintColours(form.Label1).first, skinBack);
  EXPECT_EQ(ButtonFace(form.PushButton1), skinFace);
  EXPECT_EQ(sink.told, 0);
}

TEST_F(ReadableWindowTest, ASkinTakesTheVisualStyleOffExactlyItsCheckBoxesAndFramesUntilHighContrast) {
  if (!::IsThemeActive()) GTEST_SKIP() << "no visual style to take off";
  Build();
  const std::vector<const rt::Control*> styled{&form.Check4, &form.Check8, &form.Frame1, &form.Frame2};
  const auto styleOn = [&](const rt::Control* control) { return ::GetWindowTheme(Of(*control)) != nullptr; };
  for (const rt::Control* control : styled) EXPECT_TRUE(styleOn(control)) << control->Name();

  ApplySkin();
  for (const rt::Control* control : styled) EXPECT_FALSE(styleOn(control)) << control->Name();
  EXPECT_TRUE(styleOn(&form.Text1));  // the skin leaves the text box alone

  SwitchHighContrast(true);  // the theme's own drawing is what high contrast wants
  for (const rt::Control* control : styled) EXPECT_TRUE(styleOn(control)) << control->Name();
  SwitchHighContrast(false);
  for (const rt::Control* control : styled) EXPECT_FALSE(styleOn(control)) << control->Name();
}

int SideOf(HICON icon) {
  ICONINFO info{};
  if (icon == nullptr || !::GetIconInfo(icon, &info)) return 0;
  BITMAP bitmap{};
  ::GetObjectW(info.hbmColor, sizeof(bitmap), &bitmap);
  ::DeleteObject(info.hbmColor);
  ::DeleteObject(info.hbmMask);
  return bitmap.bmWidth;
}

TEST_F(ReadableWindowTest, TheWindowsIconsHaveTheSystemSizesOfItsDpiAndFollowAChange) {
  form.Me.SetIcon(platform.Bundle().app.ApplicationIcon());
  Build(std::nullopt);
  const auto sides = [&] {
    return std::make_pair(
        SideOf(reinterpret_cast<HICON>(::SendMessageW(host->MainWindow(), WM_GETICON, ICON_SMALL, 0))),
        SideOf(reinterpret_cast<HICON>(::SendMessageW(host->MainWindow(), WM_GETICON, ICON_BIG, 0))));
  };
  EXPECT_EQ(sides(), std::make_pair(16, 32));
  for (const auto& [dpi, small, big] : {std::tuple{144, 24, 48}, std::tuple{120, 20, 40}, std::tuple{96, 16, 32}}) {
    RECT suggested{100, 100, 900, 500};
    ::SendMessageW(host->MainWindow(), WM_DPICHANGED, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(&suggested));
    EXPECT_EQ(sides(), std::make_pair(small, big)) << dpi;
  }
  // The model's picture is what the program set; the window's sizes are its own.
  EXPECT_EQ(SideOf(reinterpret_cast<HICON>(form.Me.Icon()->Handle())), ::GetSystemMetrics(SM_CXICON));
}

}  // namespace
