// Program procedures put in front of real windows, and failures inside them.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <stdexcept>
#include <vector>

#include "runtime/Failure.h"
#include "runtime/win32/Guarded.h"
#include "runtime/win32/Win32WindowProcs.h"

namespace {

constexpr UINT kProbe = WM_APP + 7;

class RecordingSink : public rt::UnhandledFailureSink {
 public:
  void OnUnhandledFailure(const std::exception& failure) noexcept override { told.push_back(failure.what()); }
  std::vector<std::string> told;
};

class WindowProcsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    win32::ResetFailureHandlingForTesting();
    window_ =
        ::CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 10, 10, nullptr, nullptr, ::GetModuleHandleW(nullptr), nullptr);
    ASSERT_NE(window_, nullptr);
  }
  void TearDown() override {
    if (::IsWindow(window_)) ::DestroyWindow(window_);
    win32::ResetFailureHandlingForTesting();
  }
  rt::WindowHandle Handle() const { return reinterpret_cast<rt::WindowHandle>(window_); }
  LRESULT Send(UINT message) { return ::SendMessageW(window_, message, 1, 2); }

  RecordingSink sink_;
  win32::Win32WindowProcs procs_{sink_};
  HWND window_ = nullptr;
};

TEST_F(WindowProcsTest, TheProgramProcedureSeesMessagesUntilRestored) {
  std::vector<UINT> seen;
  std::uintptr_t previous = 0;
  previous =
      procs_.ReplaceWindowProc(Handle(), [&](rt::WindowHandle w, std::uint32_t m, std::uintptr_t wp, std::intptr_t lp) {
        seen.push_back(m);
        if (m == kProbe) return std::intptr_t{42};
        return procs_.CallWindowProc(previous, w, m, wp, lp);
      });
  ASSERT_NE(previous, 0u);
  EXPECT_EQ(Send(kProbe), 42);
  EXPECT_THROW(procs_.ReplaceWindowProc(Handle(), {}), rt::Failure);

  procs_.RestoreWindowProc(Handle(), previous);
  EXPECT_EQ(Send(kProbe), 0);
  EXPECT_EQ(std::count(seen.begin(), seen.end(), kProbe), 1);
  EXPECT_EQ(::GetWindowLongPtrW(window_, GWLP_WNDPROC), static_cast<LONG_PTR>(previous));
}

TEST_F(WindowProcsTest, AProcedureMayRestoreItselfWhileRunning) {
  std::uintptr_t previous = 0;
  previous =
      procs_.ReplaceWindowProc(Handle(), [&](rt::WindowHandle w, std::uint32_t m, std::uintptr_t wp, std::intptr_t lp) {
        if (m != kProbe) return procs_.CallWindowProc(previous, w, m, wp, lp);
        procs_.RestoreWindowProc(w, previous);
        // Still running, and its captures still alive.
        return static_cast<std::intptr_t>(previous != 0 ? 9 : 0);
      });
  EXPECT_EQ(Send(kProbe), 9);
  EXPECT_EQ(Send(kProbe), 0) << "the window's own procedure again";
}

TEST_F(WindowProcsTest, ADestroyedWindowLetsGoOfTheProgramProcedure) {
  std::uintptr_t previous = 0;
  bool sawNcDestroy = false;
  previous =
      procs_.ReplaceWindowProc(Handle(), [&](rt::WindowHandle w, std::uint32_t m, std::uintptr_t wp, std::intptr_t lp) {
        sawNcDestroy |= m == WM_NCDESTROY;
        return procs_.CallWindowProc(previous, w, m, wp, lp);
      });
  ASSERT_TRUE(::DestroyWindow(window_));
  EXPECT_TRUE(sawNcDestroy);
  // A later restore of the dead window (the program still holds the old value) is harmless.
  procs_.RestoreWindowProc(Handle(), previous);
}

TEST_F(WindowProcsTest, AFailureInsideIsReportedOnceAndNeverCrossesWindows) {
  int endings = 0;
  win32::ScopedFailureEnding ending([&] { ++endings; });
  procs_.ReplaceWindowProc(Handle(),
                           [&](rt::WindowHandle, std::uint32_t m, std::uintptr_t, std::intptr_t) -> std::intptr_t {
                             if (m == kProbe) throw std::runtime_error("handler failed");
                             return 0;
                           });
  Send(kProbe);
  ASSERT_EQ(sink_.told.size(), 1u);
  EXPECT_EQ(sink_.told[0], "handler failed");
  EXPECT_EQ(endings, 1);
  // The process would be gone by now; what still arrives gets the default handling only.
  EXPECT_TRUE(win32::ProgramEnding());
  Send(kProbe);
  EXPECT_EQ(sink_.told.size(), 1u);
}

}  // namespace
