// What Windows says about the session, as the real window hears it: one copy per session and
// the second copy's request to show the window, and a lock or a coming sleep ending a hold
// with the button up.
#include <windows.h>

#include <gtest/gtest.h>

#include <atomic>
#include <memory>
#include <thread>

#include "PumpUntil.h"
#include "app/Program.h"
#include "runtime/win32/BringBackMessage.h"
#include "runtime/win32/FormHost.h"
#include "runtime/win32/Guarded.h"
#include "runtime/win32/SingleCopy.h"
#include "runtime/win32/SystemLibrary.h"
#include "runtime/win32/Win32Platform.h"

namespace {

TEST(SingleCopyTest, TheFirstCopyHoldsTheSessionUntilItGoesAndALogonStartIsToldApart) {
  {
    const win32::SingleCopy first;
    EXPECT_TRUE(first.IsFirst());
    const win32::SingleCopy second;
    EXPECT_FALSE(second.IsFirst());
  }
  const win32::SingleCopy afterwards;
  EXPECT_TRUE(afterwards.IsFirst()) << "free again once the first copy has gone";

  EXPECT_TRUE(win32::IsLogonStart(L"\"C:\\Program Files\\Vornatic\\Vornatic.exe\" /logon"));
  EXPECT_TRUE(win32::IsLogonStart(L"Vornatic.exe /LOGON"));
  EXPECT_FALSE(win32::IsLogonStart(L"\"C:\\Program Files\\Vornatic\\Vornatic.exe\""));
  EXPECT_FALSE(win32::IsLogonStart(L"C:\\logon\\Vornatic.exe /logonx"));
}

TEST(SystemLibraryTest, FindsTheSessionFunctionsInSystem32) {
  const win32::SystemLibrary wtsapi(L"wtsapi32.dll");
  ASSERT_TRUE(wtsapi.Loaded());
  EXPECT_NE(wtsapi.Find<void (*)()>("WTSRegisterSessionNotification"), nullptr);
  EXPECT_EQ(wtsapi.Find<void (*)()>("NoSuchFunction"), nullptr);
  EXPECT_FALSE(win32::SystemLibrary(L"no-such-library.dll").Loaded());
}

TEST(InputDesktopTest, OursTakingTheInputIsNotTakenForASwitchAway) {
  EXPECT_TRUE(win32::Win32SessionEvents::InputDesktopIsOurs());
}

// The whole program on the real platform, its window made and attached as the entry point
// does (without the load handler: no tray icon, shortcut or home page here).
class SessionEventsTest : public ::testing::Test {
 protected:
  SessionEventsTest() {
    win32::ResetFailureHandlingForTesting();
    platform.RouteFailuresTo(program);
    host = std::make_unique<FormHost>(program.MainWindow(), program, instance, 96);
    platform.SetMainWindow(host->MainWindow());
    form.Me.Show();
    // The first trip to the tray has had its balloon, so no start here waits for one.
    form.cSysTray1.ShowBalloon(L"", L"", 0, true);
  }
  ~SessionEventsTest() override { win32::ResetFailureHandlingForTesting(); }

  HWND Main() const { return host->MainWindow(); }

  HINSTANCE instance = ::GetModuleHandleW(nullptr);
  win32::Win32Platform platform{instance};
  Program program{platform.Bundle()};
  Form1& form = program.Window();
  std::unique_ptr<FormHost> host;
};

TEST_F(SessionEventsTest, ASecondCopysRequestBringsTheWindowBackFromTheTray) {
  EXPECT_TRUE(platform.Session().HearsSessionChanges());
  form.Me.SetWindowState(rt::windowstate::kMinimized);
  ASSERT_FALSE(::IsWindowVisible(Main()));
  ASSERT_TRUE(program.State().HiddenInTray);

  ASSERT_TRUE(win32::AskTheFirstCopyToComeBack());
  EXPECT_TRUE(win32test::PumpUntil(platform.Pump(), [&] { return ::IsWindowVisible(Main()) != FALSE; }));
  EXPECT_FALSE(::IsIconic(Main()));
  EXPECT_FALSE(program.State().HiddenInTray);
}

bool LeftButtonDown() { return (::GetAsyncKeyState(VK_LBUTTON) & 0x8000) != 0; }

bool BadgeShowing() {
  const HWND badge = ::FindWindowW(L"Vornatic.HoldingBadge", nullptr);
  return badge != nullptr && ::IsWindowVisible(badge);
}

void ClickLeft() {
  INPUT click[2] = {};
  click[0].type = click[1].type = INPUT_MOUSE;
  click[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
  click[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
  ::SendInput(2, click, sizeof(INPUT));
}

// Waits without spinning hard: the hand at the desk checks a few times a tenth of a second.
template <typename Condition>
bool WaitFor(Condition condition, int limitMs) {
  for (int waited = 0; waited < limitMs; waited += 20) {
    if (condition()) return true;
    ::Sleep(20);
  }
  return condition();
}

TEST_F(SessionEventsTest, ALockOrASuspendDeliveredToTheWindowEndsAHoldWithTheButtonUp) {
  struct News {
    const char* what;
    UINT message;
    WPARAM wParam;
  };
  for (const News news :
       {News{"lock", WM_WTSSESSION_CHANGE, WTS_SESSION_LOCK}, News{"suspend", WM_POWERBROADCAST, PBT_APMSUSPEND}}) {
    SCOPED_TRACE(news.what);
    ::SetCursorPos(600, 400);  // over the bare desktop
    const HWND button = host->WindowOf(form.PushButton2);
    HANDLE hookIn = ::CreateEventW(nullptr, TRUE, FALSE, nullptr);
    std::atomic<bool> held{false};
    std::atomic<bool> stoppedByHand{false};
    // A person at the desk, on a thread of their own: picks up once auto-drag watches the
    // mouse, and once the badge says the button is held, Windows sends its news.
    std::thread hand([&] {
      if (::WaitForSingleObject(hookIn, 5000) == WAIT_OBJECT_0) {
        ClickLeft();
        held = WaitFor(BadgeShowing, 5000) && LeftButtonDown();
      }
      ::PostMessageW(Main(), news.message, news.wParam, 0);
      // Should the news change nothing, Stop ends the test rather than leaving it hanging.
      if (!WaitFor([&] { return ::IsWindowVisible(Main()) != FALSE; }, 5000)) {
        stoppedByHand = true;
        ::PostMessageW(button, BM_CLICK, 0, 0);
      }
    });
    // Runs from the auto-drag loop's first pump, once the hook is in.
    platform.Pump().Post([&] { ::SetEvent(hookIn); });
    ::SendMessageW(button, BM_CLICK, 0, 0);  // returns when auto-drag has ended
    hand.join();
    ::CloseHandle(hookIn);

    EXPECT_TRUE(held) << "no hold to end";
    EXPECT_FALSE(stoppedByHand) << "the news did not end auto-drag";
    EXPECT_EQ(form.PushButton2.Caption(), L"Start Autodrag");
    EXPECT_FALSE(LeftButtonDown());
    EXPECT_FALSE(program.Mouse().HoldingButton());
    EXPECT_FALSE(BadgeShowing());
    EXPECT_TRUE(::IsWindowVisible(Main()));
  }
}

}  // namespace
