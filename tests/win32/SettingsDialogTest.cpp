// The Settings window as Windows shows it: a dialog owned by the main window, reached from
// the system menu; its slider, shortcut box and press area pass what the user does to the
// model; Enter, Escape and the close box answer as on every dialog.
#include <windows.h>
// after windows.h, which it needs
#include <commctrl.h>

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "app/Program.h"
#include "runtime/Twips.h"
#include "runtime/win32/FormHost.h"
#include "runtime/win32/Guarded.h"
#include "runtime/win32/Win32Platform.h"

namespace {

class RecordingSink : public rt::UnhandledFailureSink {
 public:
  void OnUnhandledFailure(const std::exception& failure) noexcept override { told.push_back(failure.what()); }
  std::vector<std::string> told;
};

std::wstring TextOf(HWND window) {
  wchar_t text[256] = {};
  ::GetWindowTextW(window, text, 256);
  return text;
}

std::wstring ClassOf(HWND window) {
  wchar_t name[64] = {};
  ::GetClassNameW(window, name, 64);
  return name;
}

// The modifiers as the keyboard state shows them to GetKeyState.
void HoldModifiers(bool ctrl, bool alt) {
  BYTE keys[256] = {};
  ::GetKeyboardState(keys);
  keys[VK_CONTROL] = ctrl ? 0x80 : 0;
  keys[VK_MENU] = alt ? 0x80 : 0;
  ::SetKeyboardState(keys);
}

class SettingsDialogTest : public ::testing::Test {
 protected:
  SettingsDialogTest() {
    win32::ResetFailureHandlingForTesting();
    main = std::make_unique<FormHost>(form.Me, sink, instance, 96);
    platform.SetMainWindow(main->MainWindow());
    form.Me.Show();
  }
  ~SettingsDialogTest() override {
    HoldModifiers(false, false);
    win32::ResetFailureHandlingForTesting();
  }
  HWND Dialog() const { return reinterpret_cast<HWND>(dialog.Me.Handle()); }
  HWND Of(const rt::Control& control) const { return reinterpret_cast<HWND>(control.Handle()); }
  bool Key(HWND target, UINT message, WPARAM key) {
    MSG msg{target, message, key, 0, 0, {}};
    return platform.Windows().PreTranslate(msg);
  }

  HINSTANCE instance = ::GetModuleHandleW(nullptr);
  RecordingSink sink;
  win32::Win32Platform platform{instance};
  Program program{platform.Bundle()};
  Form1& form = program.Window();
  SettingsWindow& dialog = form.SettingsDialog();
  std::unique_ptr<FormHost> main;
};

TEST_F(SettingsDialogTest, TheSystemMenuOpensADialogOwnedByTheMainWindow) {
  ::SendMessageW(main->MainWindow(), WM_SYSCOMMAND, Form1::kSystemMenuSettings, 0);
  ASSERT_TRUE(dialog.Me.Visible());
  ASSERT_NE(Dialog(), nullptr);
  EXPECT_TRUE(::IsWindowVisible(Dialog()));
  EXPECT_EQ(ClassOf(Dialog()), L"Vornatic.Dialog") << "a second copy must never take it for the main window";
  EXPECT_EQ(::GetWindow(Dialog(), GW_OWNER), main->MainWindow());
  EXPECT_EQ(TextOf(Dialog()), L"Vornatic Settings");
  EXPECT_EQ(::GetWindowLongW(Dialog(), GWL_STYLE) & WS_MINIMIZEBOX, 0);
  EXPECT_TRUE(::IsChild(Dialog(), ::GetFocus())) << "the keyboard is in the dialog";

  // The close box asks the program, which hides the window and keeps it for next time.
  ::SendMessageW(Dialog(), WM_CLOSE, 0, 0);
  EXPECT_FALSE(dialog.Me.Visible());
  EXPECT_TRUE(::IsWindow(Dialog()));
  EXPECT_FALSE(::IsWindowVisible(Dialog()));
  EXPECT_TRUE(::IsWindowVisible(main->MainWindow())) << "the main window stays";
  EXPECT_TRUE(sink.told.empty());
}

TEST_F(SettingsDialogTest, TheSliderAndTheShortcutBoxTellTheModel) {
  form.PushButton3.RaiseClick();
  HWND slider = Of(dialog.HoldSlider);
  EXPECT_EQ(ClassOf(slider), L"msctls_trackbar32");
  EXPECT_EQ(::SendMessageW(slider, TBM_GETRANGEMIN, 0, 0), 200);
  EXPECT_EQ(::SendMessageW(slider, TBM_GETRANGEMAX, 0, 0), 2200);
  EXPECT_EQ(::SendMessageW(slider, TBM_GETPOS, 0, 0), 800);
  EXPECT_EQ(::SendMessageW(slider, TBM_GETLINESIZE, 0, 0), 100);
  EXPECT_EQ(::SendMessageW(slider, TBM_GETPAGESIZE, 0, 0), 500);
  // The user's move, as the trackbar tells its parent: the thumb stops on whole 10 ms.
  ::SendMessageW(slider, TBM_SETPOS, TRUE, 653);
  ::SendMessageW(Dialog(), WM_HSCROLL, TB_THUMBTRACK, reinterpret_cast<LPARAM>(slider));
  EXPECT_EQ(dialog.HoldSlider.Value(), 650);
  EXPECT_EQ(::SendMessageW(slider, TBM_GETPOS, 0, 0), 650);
  EXPECT_EQ(dialog.HoldValue.Caption(), L"650 ms");
  // The program's change reaches the trackbar.
  dialog.HoldSlider.SetValue(1200);
  EXPECT_EQ(::SendMessageW(slider, TBM_GETPOS, 0, 0), 1200);

  HWND box = Of(dialog.ShortcutField);
  EXPECT_EQ(TextOf(box), L"Win+Shift+D");
  ::SetFocus(box);
  EXPECT_TRUE(dialog.ShortcutField.Focused());
  HoldModifiers(true, true);
  ::SendMessageW(box, WM_SYSKEYDOWN, 'D', 0);
  EXPECT_EQ(TextOf(box), L"Ctrl+Alt+D");
  ::SendMessageW(box, WM_SYSCHAR, 'd', 0);
  EXPECT_EQ(TextOf(box), L"Ctrl+Alt+D") << "nothing is typed";
  HoldModifiers(false, false);
  ::SendMessageW(box, WM_KEYDOWN, VK_BACK, 0);
  EXPECT_EQ(TextOf(box), L"None");
  // Tab leaves the box: it is the dialog's, not the box's.
  EXPECT_TRUE(Key(box, WM_KEYDOWN, VK_TAB));
  EXPECT_EQ(::GetFocus(), Of(dialog.NoShortcut));
  EXPECT_FALSE(dialog.ShortcutField.Focused());
  EXPECT_TRUE(sink.told.empty());
}

// The list of programs shows the model's and tells it the user's selection; moved to a
// monitor at 120 DPI the dialog is laid out again at that scale, where Windows suggests.
TEST_F(SettingsDialogTest, TheProgramListAndADpiChange) {
  form.PushButton3.RaiseClick();
  HWND list = Of(dialog.ExceptionList);
  EXPECT_EQ(ClassOf(list), L"ListBox");
  dialog.ExceptionList.SetItems({L"notepad.exe", L"paint.exe"});
  EXPECT_EQ(::SendMessageW(list, LB_GETCOUNT, 0, 0), 2);
  ::SendMessageW(list, LB_SETCURSEL, 1, 0);
  ::SendMessageW(Dialog(), WM_COMMAND, MAKEWPARAM(::GetDlgCtrlID(list), LBN_SELCHANGE), reinterpret_cast<LPARAM>(list));
  EXPECT_EQ(dialog.ExceptionList.Selected(), 1);

  RECT suggested{50, 50, 1000, 1000};
  ::SendMessageW(Dialog(), WM_DPICHANGED, MAKEWPARAM(120, 120), reinterpret_cast<LPARAM>(&suggested));
  RECT client{}, window{};
  ::GetClientRect(Dialog(), &client);
  ::GetWindowRect(Dialog(), &window);
  EXPECT_EQ(client.right, rt::TwipsToPixels(dialog.Me.ClientWidth(), 120));
  EXPECT_EQ(client.bottom, rt::TwipsToPixels(dialog.Me.ClientHeight(), 120));
  EXPECT_EQ(window.left, 50);
  EXPECT_EQ(window.top, 50);
  EXPECT_TRUE(sink.told.empty());
}

TEST_F(SettingsDialogTest, EnterIsOkAndEscapeIsCancel) {
  form.PushButton3.RaiseClick();
  ::SetFocus(Of(dialog.BadgeBox));
  ::SendMessageW(Of(dialog.BadgeBox), BM_CLICK, 0, 0);
  EXPECT_EQ(dialog.BadgeBox.Value(), 0);
  EXPECT_TRUE(Key(Of(dialog.BadgeBox), WM_KEYDOWN, VK_ESCAPE));
  EXPECT_FALSE(dialog.Me.Visible());
  EXPECT_TRUE(form.Badge().Enabled()) << "Escape applied nothing";

  form.PushButton3.RaiseClick();
  EXPECT_EQ(dialog.BadgeBox.Value(), 1);
  ::SetFocus(Of(dialog.BadgeBox));
  ::SendMessageW(Of(dialog.BadgeBox), BM_CLICK, 0, 0);
  EXPECT_TRUE(Key(Of(dialog.BadgeBox), WM_KEYDOWN, VK_RETURN));
  EXPECT_FALSE(dialog.Me.Visible());
  EXPECT_FALSE(form.Badge().Enabled()) << "Enter is OK";
  EXPECT_TRUE(sink.told.empty());
}

TEST_F(SettingsDialogTest, ThePressAreaReportsEachButtonWithTheMessageTime) {
  form.PushButton3.RaiseClick();
  std::vector<rt::PressArgs> presses, releases;
  dialog.TryArea.Pressed.Handle([&](rt::PressArgs a) { presses.push_back(a); });
  dialog.TryArea.Released.Handle([&](rt::PressArgs a) { releases.push_back(a); });
  HWND area = Of(dialog.TryArea);
  POINT inside{10, 12};
  ::SendMessageW(area, WM_MBUTTONDOWN, MK_MBUTTON, MAKELPARAM(inside.x, inside.y));
  EXPECT_EQ(::GetCapture(), area) << "the release comes here wherever it happens";
  ::SendMessageW(area, WM_MBUTTONUP, 0, MAKELPARAM(inside.x, inside.y));
  EXPECT_EQ(::GetCapture(), nullptr);
  ::ClientToScreen(area, &inside);
  ASSERT_EQ(presses.size(), 1u);
  ASSERT_EQ(releases.size(), 1u);
  EXPECT_EQ(presses[0].button, 4);
  EXPECT_EQ(presses[0].at, (rt::ScreenPoint{inside.x, inside.y}));
  EXPECT_EQ(releases[0].time, static_cast<std::uint32_t>(::GetMessageTime()));
  EXPECT_TRUE(sink.told.empty());
}

}  // namespace
