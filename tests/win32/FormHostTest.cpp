// The real main window built from the program's own layout: its geometry at 96 and 144 DPI,
// its keyboard and focus, and the events the user's actions raise in the model.
#include <windows.h>

#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "PumpUntil.h"

#include "app/Program.h"
#include "runtime/Failure.h"
#include "runtime/win32/CloseRequest.h"
#include "runtime/win32/FormHost.h"
#include "runtime/win32/Guarded.h"
#include "runtime/win32/OwnerDrawnButton.h"
#include "runtime/win32/Win32Picture.h"
#include "runtime/win32/Win32Platform.h"

namespace {

class RecordingSink : public rt::UnhandledFailureSink {
 public:
  void OnUnhandledFailure(const std::exception& failure) noexcept override { told.push_back(failure.what()); }
  std::vector<std::string> told;
};

struct Box {
  LONG left, top, right, bottom;
  bool operator==(const Box&) const = default;
};
std::ostream& operator<<(std::ostream& out, const Box& b) {
  return out << "{" << b.left << "," << b.top << "," << b.right << "," << b.bottom << "}";
}

Box InParent(HWND child) {
  RECT r{};
  ::GetWindowRect(child, &r);
  ::MapWindowPoints(nullptr, ::GetParent(child), reinterpret_cast<POINT*>(&r), 2);
  return {r.left, r.top, r.right, r.bottom};
}

LOGFONTW FontOf(HWND window) {
  LOGFONTW font{};
  ::GetObjectW(reinterpret_cast<HFONT>(::SendMessageW(window, WM_GETFONT, 0, 0)), sizeof(font), &font);
  return font;
}

COLORREF BrushColour(LRESULT brush) {
  LOGBRUSH description{};
  ::GetObjectW(reinterpret_cast<HBRUSH>(brush), sizeof(description), &description);
  return description.lbColor;
}

std::wstring TextOf(HWND window) {
  wchar_t text[256] = {};
  ::GetWindowTextW(window, text, 256);
  return text;
}

class FormHostTest : public ::testing::Test {
 protected:
  FormHostTest() {
    win32::ResetFailureHandlingForTesting();
    // The program's own close ends the process; here the test hears it instead.
    form.Me.QueryUnload.Handle([this](int& cancel, int reason) {
      closeReasons.push_back(reason);
      cancel = cancelClose ? 1 : 0;
    });
    form.Me.Unload.Handle([this](int&) { ++unloads; });
  }
  ~FormHostTest() override { win32::ResetFailureHandlingForTesting(); }

  void Build(std::optional<int> dpi = 96) { host = std::make_unique<FormHost>(form.Me, sink, instance, dpi); }
  void BuildAndShow() {
    Build();
    form.Me.Show();
  }
  HWND Main() const { return host->MainWindow(); }
  HWND Of(const rt::Control& control) const { return host->WindowOf(control); }
  UINT IdOf(const rt::Control& control) const { return static_cast<UINT>(::GetDlgCtrlID(Of(control))); }
  void Tab(bool backwards = false) {
    BYTE keys[256] = {};
    ::GetKeyboardState(keys);
    keys[VK_SHIFT] = backwards ? 0x80 : 0;
    ::SetKeyboardState(keys);
    MSG message{::GetFocus(), WM_KEYDOWN, VK_TAB, 0, 0, {}};
    EXPECT_TRUE(host->PreTranslate(message));
    keys[VK_SHIFT] = 0;
    ::SetKeyboardState(keys);
  }

  HINSTANCE instance = ::GetModuleHandleW(nullptr);
  RecordingSink sink;
  win32::Win32Platform platform{instance};
  Program program{platform.Bundle()};
  Form1& form = program.Window();
  std::vector<int> closeReasons;
  bool cancelClose = false;
  int unloads = 0;
  std::unique_ptr<FormHost> host;
};

TEST_F(FormHostTest, LaysTheWindowOutFromTheLayoutAt96Dpi) {
  Build(96);
  RECT client{};
  ::GetClientRect(Main(), &client);
  EXPECT_EQ(client.right, 536);
  EXPECT_EQ(client.bottom, 184);
  EXPECT_EQ(InParent(Of(form.PushButton2)), (Box{8, 8, 528, 35}));
  EXPECT_EQ(InParent(Of(form.PushButton1)), (Box{8, 149, 528, 176}));
  EXPECT_EQ(InParent(Of(form.Frame2)), (Box{8, 39, 528, 88}));
  EXPECT_EQ(InParent(Of(form.Frame1)), (Box{8, 92, 528, 141}));
  EXPECT_EQ(InParent(Of(form.Check4)), (Box{24, 59, 286, 78}));  // placed within Frame2
  EXPECT_EQ(InParent(Of(form.Text1)).top, 206);

  const LONG style = ::GetWindowLongW(Main(), GWL_STYLE);
  EXPECT_EQ(style & (WS_MAXIMIZEBOX | WS_THICKFRAME), 0);
  EXPECT_EQ(style & (WS_MINIMIZEBOX | WS_SYSMENU | WS_CAPTION), WS_MINIMIZEBOX | WS_SYSMENU | WS_CAPTION);
  EXPECT_FALSE(::IsWindowVisible(Main()));
  EXPECT_EQ(form.Me.Handle(), reinterpret_cast<rt::WindowHandle>(Main()));

  // The window's font for the controls without their own, the buttons' for the buttons.
  const LOGFONTW check = FontOf(Of(form.Check4));
  EXPECT_EQ(check.lfHeight, -12);
  EXPECT_EQ(check.lfWeight, FW_BOLD);
  EXPECT_EQ(check.lfCharSet, 204);
  EXPECT_STREQ(check.lfFaceName, L"Arial");
  EXPECT_EQ(FontOf(Of(form.PushButton2)).lfHeight, -15);
}

TEST_F(FormHostTest, ScalesEverythingAt144DpiAndCentresTheWindow) {
  Build(144);
  RECT client{};
  ::GetClientRect(Main(), &client);
  EXPECT_EQ(client.right, 804);
  EXPECT_EQ(client.bottom, 276);
  EXPECT_EQ(InParent(Of(form.PushButton2)), (Box{12, 12, 792, 53}));
  EXPECT_EQ(InParent(Of(form.PushButton1)), (Box{12, 223, 792, 264}));
  EXPECT_EQ(InParent(Of(form.Frame2)), (Box{12, 58, 792, 132}));
  EXPECT_EQ(FontOf(Of(form.Check4)).lfHeight, -18);
  EXPECT_EQ(FontOf(Of(form.PushButton2)).lfHeight, -23);

  RECT window{};
  ::GetWindowRect(Main(), &window);
  MONITORINFO monitor{};
  monitor.cbSize = sizeof(monitor);
  ::GetMonitorInfoW(::MonitorFromWindow(Main(), MONITOR_DEFAULTTOPRIMARY), &monitor);
  EXPECT_NEAR(window.left - monitor.rcWork.left, monitor.rcWork.right - window.right, 1);
  EXPECT_NEAR(window.top - monitor.rcWork.top, monitor.rcWork.bottom - window.bottom, 1);
}

TEST_F(FormHostTest, FollowsADpiChangeOfItsMonitor) {
  Build(std::nullopt);
  RECT suggested{100, 100, 900, 500};
  ::SendMessageW(Main(), WM_DPICHANGED, MAKEWPARAM(144, 144), reinterpret_cast<LPARAM>(&suggested));
  RECT client{};
  ::GetClientRect(Main(), &client);
  EXPECT_EQ(client.right, 804);
  EXPECT_EQ(client.bottom, 276);
  EXPECT_EQ(InParent(Of(form.PushButton2)), (Box{12, 12, 792, 53}));
  EXPECT_EQ(FontOf(Of(form.Label1)).lfHeight, -18);
}

TEST_F(FormHostTest, OpensWithTheFocusMarkedOnStartAndTabsInScreenOrder) {
  // (Wine keeps no keyboard-cue state, so whether the mark shows before the first key is
  // Windows' business and not seen here.)
  BuildAndShow();
  EXPECT_TRUE(::IsWindowVisible(Main()));
  EXPECT_EQ(::GetFocus(), Of(form.PushButton2));

  // The stacking order, which the Tab key and screen readers follow: the screen's, each
  // frame before what it holds. The text box out of sight is no stop.
  std::vector<HWND> stacked;
  for (HWND child = ::GetWindow(Main(), GW_CHILD); child != nullptr; child = ::GetWindow(child, GW_HWNDNEXT))
    stacked.push_back(child);
  EXPECT_EQ(stacked,
            (std::vector<HWND>{Of(form.PushButton2), Of(form.Frame2), Of(form.Check4), Of(form.Check8), Of(form.Frame1),
                               Of(form.Label1), Of(form.PushButton3), Of(form.PushButton1), Of(form.Text1),
                               Of(form.cSysTray1Site)}));
  EXPECT_EQ(::GetWindowLongW(Of(form.Text1), GWL_STYLE) & WS_TABSTOP, 0);

  Tab();
  EXPECT_EQ(::GetFocus(), Of(form.Check4));
  Tab();  // Check8 is hidden
  EXPECT_EQ(::GetFocus(), Of(form.PushButton3));
  Tab();
  EXPECT_EQ(::GetFocus(), Of(form.PushButton1));
  Tab();  // round to the start
  EXPECT_EQ(::GetFocus(), Of(form.PushButton2));

  form.Check8.SetVisible(true);
  EXPECT_TRUE(::IsWindowVisible(Of(form.Check8)));
  Tab(true);
  EXPECT_EQ(::GetFocus(), Of(form.PushButton1));
  Tab(true);
  EXPECT_EQ(::GetFocus(), Of(form.PushButton3));
  Tab(true);
  EXPECT_EQ(::GetFocus(), Of(form.Check8));
  // Hiding the focused box hands the focus on instead of stranding it.
  form.Check8.SetVisible(false);
  EXPECT_FALSE(::IsWindowVisible(Of(form.Check8)));
  EXPECT_NE(::GetFocus(), Of(form.Check8));
  EXPECT_TRUE(::IsChild(Main(), ::GetFocus()));
}

TEST_F(FormHostTest, EveryWayOfPressingAButtonClicksItOnce) {
  int clicks = 0;
  std::vector<HWND> captureDuringClick;
  form.PushButton2.Click.Handle([&] {
    ++clicks;
    captureDuringClick.push_back(::GetCapture());
  });
  BuildAndShow();
  HWND button = Of(form.PushButton2);

  // Some button implementations tell of the click while still holding the mouse.
  ::SetCapture(button);
  ::SendMessageW(Main(), WM_COMMAND, MAKEWPARAM(IdOf(form.PushButton2), BN_CLICKED), reinterpret_cast<LPARAM>(button));
  EXPECT_EQ(clicks, 1);
  ::SendMessageW(button, BM_CLICK, 0, 0);
  EXPECT_EQ(clicks, 2);

  ::SetFocus(button);
  ::SendMessageW(button, WM_KEYDOWN, VK_SPACE, 0);
  ::SendMessageW(button, WM_KEYUP, VK_SPACE, 0xC0000001);
  EXPECT_EQ(clicks, 3);
  MSG enter{button, WM_KEYDOWN, VK_RETURN, 0, 0, {}};
  EXPECT_TRUE(host->PreTranslate(enter));
  EXPECT_EQ(clicks, 4);

  // A quick pair of clicks is two clicks, not a click and a lost double-click.
  const LPARAM inside = MAKELPARAM(20, 10);
  for (UINT press : {WM_LBUTTONDOWN, WM_LBUTTONDBLCLK}) {
    ::SendMessageW(button, press, MK_LBUTTON, inside);
    ::SendMessageW(button, WM_LBUTTONUP, 0, inside);
  }
  EXPECT_EQ(clicks, 6);
  // The handler may run long; the mouse is free for the rest of the desktop meanwhile.
  EXPECT_EQ(captureDuringClick, std::vector<HWND>(6, nullptr));
  EXPECT_TRUE(sink.told.empty());
}

TEST_F(FormHostTest, CheckBoxesShowTheModelsValue) {
  int clicks = 0;
  form.Check4.Click.Handle([&] { ++clicks; });
  BuildAndShow();
  HWND check4 = Of(form.Check4);

  ::SendMessageW(check4, BM_CLICK, 0, 0);
  EXPECT_EQ(clicks, 1);
  EXPECT_EQ(form.Check4.Value(), 1);
  EXPECT_EQ(::SendMessageW(check4, BM_GETCHECK, 0, 0), BST_CHECKED);

  form.Check4.SetValue(0);  // the program's own change
  EXPECT_EQ(clicks, 2);
  EXPECT_EQ(::SendMessageW(check4, BM_GETCHECK, 0, 0), BST_UNCHECKED);

  EXPECT_FALSE(::IsWindowVisible(Of(form.Check8)));
  form.Check8.SetVisible(true);
  EXPECT_TRUE(::IsWindowVisible(Of(form.Check8)));
}

TEST_F(FormHostTest, CaptionsAndColoursFollowTheModel) {
  BuildAndShow();
  form.Me.SetCaption(L"Vornatic");
  form.PushButton2.SetCaption(L"Stop Autodrag");
  form.Label1.SetCaption(L"Auto-drag is on.");
  EXPECT_EQ(TextOf(Main()), L"Vornatic");
  EXPECT_EQ(TextOf(Of(form.PushButton2)), L"Stop Autodrag");
  EXPECT_EQ(TextOf(Of(form.Label1)), L"Auto-drag is on.");

  HWND check4 = Of(form.Check4);
  HDC dc = ::GetDC(check4);
  form.Check4.SetBackColor(rt::Rgb(10, 20, 30));
  form.Check4.SetForeColor(rt::Rgb(200, 0, 0));
  EXPECT_EQ(BrushColour(::SendMessageW(Main(), WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
                                       reinterpret_cast<LPARAM>(check4))),
            RGB(10, 20, 30));
  EXPECT_EQ(::GetTextColor(dc), RGB(200, 0, 0));
  // The label lets its frame's colour show.
  form.Frame1.SetBackColor(rt::Rgb(1, 2, 3));
  EXPECT_EQ(BrushColour(::SendMessageW(Main(), WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
                                       reinterpret_cast<LPARAM>(Of(form.Label1)))),
            RGB(1, 2, 3));
  ::ReleaseDC(check4, dc);
}

TEST_F(FormHostTest, WindowStateChangesRaiseResizeOnce) {
  int resizes = 0;
  form.Me.Resize.Handle([&] { ++resizes; });
  BuildAndShow();

  form.Me.SetWindowState(rt::windowstate::kMinimized);
  EXPECT_TRUE(::IsIconic(Main()));
  EXPECT_EQ(resizes, 1);
  form.Me.SetWindowState(rt::windowstate::kNormal);
  EXPECT_FALSE(::IsIconic(Main()));
  EXPECT_EQ(resizes, 2);

  // The user's minimise and restore reach the model.
  ::SendMessageW(Main(), WM_SYSCOMMAND, SC_MINIMIZE, 0);
  EXPECT_EQ(form.Me.WindowState(), rt::windowstate::kMinimized);
  EXPECT_EQ(resizes, 3);
  ::SendMessageW(Main(), WM_SYSCOMMAND, SC_RESTORE, 0);
  EXPECT_EQ(form.Me.WindowState(), rt::windowstate::kNormal);
  EXPECT_EQ(resizes, 4);

  // Chosen while hidden, the state shows with the window.
  form.Me.SetVisible(false);
  EXPECT_FALSE(::IsWindowVisible(Main()));
  form.Me.SetWindowState(rt::windowstate::kMinimized);
  EXPECT_FALSE(::IsWindowVisible(Main()));
  form.Me.SetVisible(true);
  EXPECT_TRUE(::IsIconic(Main()));
  EXPECT_EQ(resizes, 5);
}

TEST_F(FormHostTest, PointerMovesReachTheModelAndSetTheShape) {
  std::vector<std::wstring> moved;
  rt::MouseMoveArgs frameArgs;
  form.Me.MouseMove.Handle([&](rt::MouseMoveArgs) { moved.push_back(L"Form1"); });
  form.Frame2.MouseMove.Handle([&](rt::MouseMoveArgs a) {
    moved.push_back(L"Frame2");
    frameArgs = a;
  });
  form.PushButton1.MouseMove.Handle([&](rt::MouseMoveArgs) { moved.push_back(L"PushButton1"); });
  BuildAndShow();

  HWND frame = Of(form.Frame2);
  RECT frameOnScreen{};
  ::GetWindowRect(frame, &frameOnScreen);
  EXPECT_EQ(::SendMessageW(frame, WM_NCHITTEST, 0, MAKELPARAM(frameOnScreen.left + 5, frameOnScreen.bottom - 5)),
            HTCLIENT);
  // A frame lies above what it holds and lets the pointer through to it; a label lets it
  // through in turn, so over the label the frame has it.
  const auto centreOf = [](HWND window) {
    RECT r{};
    ::GetWindowRect(window, &r);
    return POINT{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
  };
  EXPECT_EQ(::WindowFromPoint(centreOf(Of(form.Check4))), Of(form.Check4));
  EXPECT_EQ(::WindowFromPoint(centreOf(Of(form.Label1))), Of(form.Frame1));
  ::SendMessageW(Main(), WM_MOUSEMOVE, 0, MAKELPARAM(2, 2));
  ::SendMessageW(frame, WM_MOUSEMOVE, MK_LBUTTON | MK_SHIFT, MAKELPARAM(10, 20));
  ::SendMessageW(Of(form.PushButton1), WM_MOUSEMOVE, 0, MAKELPARAM(5, 5));
  EXPECT_EQ(moved, (std::vector<std::wstring>{L"Form1", L"Frame2", L"PushButton1"}));
  EXPECT_EQ(frameArgs.button, 1);
  EXPECT_EQ(frameArgs.shift, 1);
  EXPECT_FLOAT_EQ(frameArgs.x, 150.0f);
  EXPECT_FLOAT_EQ(frameArgs.y, 300.0f);

  const auto cursorOver = [&](HWND window) {
    ::SendMessageW(window, WM_SETCURSOR, reinterpret_cast<WPARAM>(window), MAKELPARAM(HTCLIENT, WM_MOUSEMOVE));
    return ::GetCursor();
  };
  form.Me.SetMousePointer(rt::pointer::kHourglass);
  EXPECT_EQ(cursorOver(Of(form.PushButton2)), ::LoadCursorW(nullptr, IDC_WAIT));
  EXPECT_EQ(cursorOver(Main()), ::LoadCursorW(nullptr, IDC_WAIT));
  HCURSOR hand = ::LoadCursorW(nullptr, IDC_HAND);
  form.Me.SetMouseIcon(std::make_shared<win32::IconPicture>(win32::UniqueIcon(::CopyIcon(hand))));
  form.Me.SetMousePointer(rt::pointer::kCustom);
  EXPECT_EQ(cursorOver(frame), reinterpret_cast<HCURSOR>(form.Me.MouseIcon()->Handle()));
  form.Me.SetMousePointer(rt::pointer::kDefault);
  EXPECT_EQ(cursorOver(Of(form.Check4)), ::LoadCursorW(nullptr, IDC_ARROW));
}

TEST_F(FormHostTest, ClosingAsksTheProgramWithTheReason) {
  BuildAndShow();
  cancelClose = true;
  ::SendMessageW(Main(), WM_CLOSE, 0, 0);
  EXPECT_TRUE(::IsWindow(Main()));
  EXPECT_EQ(closeReasons, (std::vector<int>{rt::closereason::kUser}));
  EXPECT_EQ(unloads, 0);

  cancelClose = false;
  HWND window = Main();
  ::SendMessageW(window, WM_CLOSE, 0, 0);
  EXPECT_EQ(unloads, 1);
  EXPECT_FALSE(::IsWindow(window));
  EXPECT_EQ(form.Me.Handle(), 0u);
  MSG quit{};
  EXPECT_TRUE(::PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
}

TEST_F(FormHostTest, TheSessionEndsOnlyWhenWindowsSaysSoAndACancelledShutdownChangesNothing) {
  BuildAndShow();
  HWND window = Main();
  // Windows asks: yes, and nothing closes yet.
  EXPECT_EQ(::SendMessageW(window, WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF), TRUE);
  EXPECT_TRUE(closeReasons.empty());
  // The user cancelled the shutdown: Vornatic runs on as it was.
  ::SendMessageW(window, WM_ENDSESSION, FALSE, ENDSESSION_LOGOFF);
  EXPECT_TRUE(closeReasons.empty());
  EXPECT_TRUE(::IsWindowVisible(window));
  // Asked again, and this time the session ends: the program's ordinary close runs.
  EXPECT_EQ(::SendMessageW(window, WM_QUERYENDSESSION, 0, 0), TRUE);
  ::SendMessageW(window, WM_ENDSESSION, TRUE, 0);
  EXPECT_EQ(closeReasons, (std::vector<int>{rt::closereason::kWindowsEnding}));
  EXPECT_EQ(unloads, 1);
  EXPECT_FALSE(::IsWindow(window));
  MSG quit{};
  EXPECT_TRUE(::PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
}

// Setup posts the registered close request (from its own process, which the end-to-end
// tests try); the window takes it as its close box. Another registered message does not.
// The session watch on the same window goes on hearing its messages beside it.
TEST_F(FormHostTest, TheCloseRequestClosesTheWindowAsItsCloseBoxDoes) {
  BuildAndShow();
  HWND window = Main();
  platform.SetMainWindow(window);
  int leaving = 0;
  platform.Bundle().session.OnLeavingDesktop([&] { ++leaving; });
  win32::CloseRequestListener listener(window, platform.Failures());
  ::SendMessageW(window, WM_POWERBROADCAST, PBT_APMSUSPEND, 0);
  EXPECT_EQ(leaving, 1) << "the close request took the session watch's place on the window";
  ::PostMessageW(window, ::RegisterWindowMessageW(L"Vornatic.SomethingElse"), 0, 0);
  EXPECT_FALSE(win32test::PumpUntil(
      platform.Pump(), [&] { return !closeReasons.empty(); }, std::chrono::milliseconds(200)));

  ::PostMessageW(window, ::RegisterWindowMessageW(L"Vornatic.CloseRequest"), 0, 0);
  ASSERT_TRUE(win32test::PumpUntil(platform.Pump(), [&] { return unloads == 1; }));
  EXPECT_EQ(closeReasons, (std::vector<int>{rt::closereason::kUser}));
  EXPECT_FALSE(::IsWindow(window));
  // The quit that ends the message loop, taken here so that it ends no later test's pump.
  MSG quit{};
  EXPECT_TRUE(::PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
}

TEST_F(FormHostTest, TheTrayControlGetsAHiddenWindowAndHearsTheTaskbarReturn) {
  int taskbars = 0;
  form.cSysTray1Site.TaskbarCreated.Handle([&] { ++taskbars; });
  BuildAndShow();
  HWND site = reinterpret_cast<HWND>(form.cSysTray1Site.Handle());
  ASSERT_NE(site, nullptr);
  EXPECT_EQ(::GetParent(site), Main());
  EXPECT_FALSE(::IsWindowVisible(site));
  EXPECT_EQ(::GetWindowLongPtrW(site, GWLP_WNDPROC), reinterpret_cast<LONG_PTR>(&::DefWindowProcW));

  ::SendMessageW(Main(), ::RegisterWindowMessageW(L"TaskbarCreated"), 0, 0);
  EXPECT_EQ(taskbars, 1);
}

TEST_F(FormHostTest, AFailureInAHandlerIsReportedAndNeverCrossesWindows) {
  int endings = 0;
  win32::ScopedFailureEnding ending([&] { ++endings; });
  form.PushButton1.Click.Handle([] { throw rt::Failure(L"broken"); });
  BuildAndShow();
  ::SendMessageW(Of(form.PushButton1), BM_CLICK, 0, 0);
  EXPECT_EQ(sink.told.size(), 1u);
  EXPECT_EQ(endings, 1);
}

// The face of a push button in each of its states, drawn into a bitmap.
class ButtonFaceTest : public ::testing::Test {
 protected:
  ButtonFaceTest() : dc_(::CreateCompatibleDC(nullptr)) {
    BITMAPINFO info{};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), 60, -20, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    bitmap_ = ::CreateDIBSection(dc_, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    previous_ = ::SelectObject(dc_, bitmap_);
  }
  ~ButtonFaceTest() override {
    ::SelectObject(dc_, previous_);
    ::DeleteObject(bitmap_);
    ::DeleteDC(dc_);
  }
  // The border pixel and a face pixel clear of the caption.
  std::pair<COLORREF, COLORREF> Paint(win32::ButtonFaceState state) {
    win32::PaintPushButton(dc_, RECT{0, 0, 60, 20}, look, L"", static_cast<HFONT>(::GetStockObject(DEFAULT_GUI_FONT)),
                           state, 96);
    return {::GetPixel(dc_, 0, 10), ::GetPixel(dc_, 5, 10)};
  }

  COLORREF Pixel(int x, int y) const { return ::GetPixel(dc_, x, y); }

  rt::ButtonLook look{rt::Rgb(250, 250, 250), rt::Rgb(0, 0, 200),  rt::Rgb(0, 200, 0),
                      rt::Rgb(0, 0, 0),       rt::Rgb(90, 90, 90), rt::Rgb(200, 0, 0)};

 private:
  HDC dc_;
  HBITMAP bitmap_;
  HGDIOBJ previous_;
};

TEST_F(ButtonFaceTest, EachStateShowsItsColours) {
  EXPECT_EQ(Paint({}), std::make_pair(RGB(90, 90, 90), RGB(250, 250, 250)));
  EXPECT_EQ(Paint({.hover = true}), std::make_pair(RGB(90, 90, 90), RGB(0, 0, 200)));
  EXPECT_EQ(Paint({.hover = true, .pressed = true}), std::make_pair(RGB(90, 90, 90), RGB(0, 200, 0)));
  EXPECT_EQ(Paint({.focused = true}), std::make_pair(RGB(200, 0, 0), RGB(250, 250, 250)));
  EXPECT_EQ(Paint({.hover = true, .disabled = true}).second, RGB(250, 250, 250));
  look.hoverBorder = rt::Rgb(255, 255, 0);
  EXPECT_EQ(Paint({.hover = true}).first, RGB(255, 255, 0));
  EXPECT_EQ(Paint({}).first, RGB(90, 90, 90));
}

TEST_F(ButtonFaceTest, TheFocusedButtonShowsAFocusRectangleWhateverItsColours) {
  look.focus = look.face;  // a skin whose focus colour is its face colour
  const auto focusLine = [&](bool focused) {
    Paint({.focused = focused});
    int marked = 0;
    for (int x = 3; x < 57; ++x) marked += Pixel(x, 3) != RGB(250, 250, 250) ? 1 : 0;
    return marked;
  };
  EXPECT_EQ(focusLine(false), 0);
  EXPECT_GT(focusLine(true), 20);  // dotted: every other pixel or so
}

}  // namespace
