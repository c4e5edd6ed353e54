// What screen readers get from the real window: the live-region event for each change of
// the status line, and frames that lie above the controls they hold (the reading order)
// without hiding them. (Wine only stubs the annotation service, so the live setting and
// the buttons' role are shown on the fakes and left to Windows here.)
#include <windows.h>

#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "app/Program.h"
#include "runtime/win32/FormHost.h"
#include "runtime/win32/Guarded.h"
#include "runtime/win32/Win32Platform.h"

namespace {

class QuietSink : public rt::UnhandledFailureSink {
 public:
  void OnUnhandledFailure(const std::exception&) noexcept override { ++told; }
  int told = 0;
};

struct WinEvent {
  DWORD event;
  HWND window;
  LONG object;
  LONG child;
  bool operator==(const WinEvent&) const = default;
};
std::vector<WinEvent>* heard = nullptr;

void CALLBACK Listen(HWINEVENTHOOK, DWORD event, HWND window, LONG object, LONG child, DWORD, DWORD) {
  if (heard != nullptr) heard->push_back({event, window, object, child});
}

class AccessibleWindowTest : public ::testing::Test {
 protected:
  AccessibleWindowTest() {
    win32::ResetFailureHandlingForTesting();
    host = std::make_unique<FormHost>(form.Me, sink, instance, 96);
    form.Me.Show();
  }
  ~AccessibleWindowTest() override {
    host.reset();
    win32::ResetFailureHandlingForTesting();
  }
  HWND Of(const rt::Control& control) const { return host->WindowOf(control); }

  HINSTANCE instance = ::GetModuleHandleW(nullptr);
  QuietSink sink;
  win32::Win32Platform platform{instance};
  Program program{platform.Bundle()};
  Form1& form = program.Window();
  std::unique_ptr<FormHost> host;
};

TEST_F(AccessibleWindowTest, EachChangeOfTheStatusLineRaisesTheLiveRegionEvent) {
  std::vector<WinEvent> events;
  heard = &events;
  // In this process, as a screen reader's hook would hear it from outside.
  HWINEVENTHOOK hook = ::SetWinEventHook(EVENT_OBJECT_LIVEREGIONCHANGED, EVENT_OBJECT_LIVEREGIONCHANGED, nullptr,
                                         &Listen, ::GetCurrentProcessId(), 0, WINEVENT_OUTOFCONTEXT);
  ASSERT_NE(hook, nullptr);
  form.Label1.SetCaption(L"Auto-drag is on.");
  form.Label1.SetCaption(L"Auto-drag is on.");  // no change, nothing to say
  form.Label1.SetCaption(L"Auto-drag is off.");
  MSG message{};
  while (::PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) ::DispatchMessageW(&message);
  ::UnhookWinEvent(hook);
  heard = nullptr;

  const WinEvent change{EVENT_OBJECT_LIVEREGIONCHANGED, Of(form.Label1), OBJID_CLIENT, CHILDID_SELF};
  EXPECT_EQ(events, (std::vector<WinEvent>{change, change}));
  EXPECT_EQ(sink.told, 0);
}

TEST_F(AccessibleWindowTest, AFrameLeavesTheShownControlsItHoldsOutOfItsBackground) {
  form.Frame2.SetBackColor(rt::Rgb(10, 20, 30));
  HWND frame = Of(form.Frame2);
  RECT area{};
  ::GetClientRect(frame, &area);

  HDC screen = ::GetDC(nullptr);
  HDC dc = ::CreateCompatibleDC(screen);
  HBITMAP bitmap = ::CreateCompatibleBitmap(screen, area.right, area.bottom);
  ::ReleaseDC(nullptr, screen);
  HGDIOBJ previous = ::SelectObject(dc, bitmap);
  HBRUSH marker = ::CreateSolidBrush(RGB(255, 0, 255));
  ::FillRect(dc, &area, marker);
  ::SendMessageW(frame, WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);

  const auto centreInFrame = [&](const rt::Control& control) {
    RECT place{};
    ::GetWindowRect(Of(control), &place);
    ::MapWindowPoints(nullptr, frame, reinterpret_cast<POINT*>(&place), 2);
    return POINT{(place.left + place.right) / 2, (place.top + place.bottom) / 2};
  };
  const POINT check4 = centreInFrame(form.Check4), check8 = centreInFrame(form.Check8);
  EXPECT_EQ(::GetPixel(dc, check4.x, check4.y), RGB(255, 0, 255));  // left for the box to paint
  EXPECT_EQ(::GetPixel(dc, check8.x, check8.y), RGB(10, 20, 30));   // hidden: the frame's own
  EXPECT_EQ(::GetPixel(dc, 3, area.bottom - 3), RGB(10, 20, 30));

  ::SelectObject(dc, previous);
  ::DeleteObject(marker);
  ::DeleteObject(bitmap);
  ::DeleteDC(dc);
}

}  // namespace
