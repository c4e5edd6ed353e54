// What the mouse hook asks the platform about one press, timed: the hook's one look at the
// window (ours? whose? would our input reach it?) beside the look as it used to be (the
// window's root owner, and the program's token read at every press), and a press that could
// latch while the list of programs where the latch stays out holds names (the look, and the
// program's name). Asked at the centre of another program's window, found by its class, in
// turns, so that all meet the same machine. Prints the median and the 99th percentile.
#include <windows.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <string>
#include <vector>

#include "autodrag/LatchExceptions.h"
#include "runtime/win32/Win32EventPump.h"
#include "runtime/win32/Win32MouseInput.h"
#include "runtime/win32/Win32RunningPrograms.h"
#include "runtime/win32/WindowReach.h"

namespace {

double Microseconds(LARGE_INTEGER from, LARGE_INTEGER to, LARGE_INTEGER frequency) {
  return static_cast<double>(to.QuadPart - from.QuadPart) * 1e6 / static_cast<double>(frequency.QuadPart);
}

// The look as the hook used to take it, for the baseline: the window there, its root owner
// to tell ours, and whether input reaches it, from the program's token at every press.
bool LookAsBefore(POINT point, HWND own) {
  static const std::optional<DWORD> ourLevel = win32::IntegrityLevelOf(::GetCurrentProcess());
  const HWND window = ::WindowFromPoint(point);
  const bool ours = window != nullptr && ::GetAncestor(window, GA_ROOTOWNER) == own;
  return !ours && win32::InjectedInputReaches(window, ourLevel);
}

struct NoFailureExpected : rt::UnhandledFailureSink {
  void OnUnhandledFailure(const std::exception&) noexcept override {}
};

void Report(const char* what, std::vector<double>& times) {
  std::sort(times.begin(), times.end());
  const double median = times[times.size() / 2];
  const double p99 = times[times.size() * 99 / 100];
  std::printf("%-44s median %8.1f us, 99th percentile %8.1f us, worst %8.1f us (%zu presses)\n", what, median, p99,
              times.back(), times.size());
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  const wchar_t* windowClass = argc > 1 ? argv[1] : L"Notepad";
  const int presses = argc > 2 ? _wtoi(argv[2]) : 2000;
  const HWND target = ::FindWindowW(windowClass, nullptr);
  if (target == nullptr) {
    std::fwprintf(stderr, L"no window of class %ls\n", windowClass);
    return 2;
  }
  RECT rect{};
  ::GetWindowRect(target, &rect);
  const POINT point{(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};

  NoFailureExpected failures;
  win32::Win32EventPump pump(::GetModuleHandleW(nullptr), failures);
  win32::Win32MouseInput mouse(::GetModuleHandleW(nullptr), failures, pump);
  win32::Win32RunningPrograms programs;
  const rt::ScreenPoint at{point.x, point.y};
  std::array<wchar_t, rt::RunningPrograms::kLongestFileName> name{};
  const std::size_t length = programs.FileNameOf(mouse.LookAt(at, true).program, name);
  std::wprintf(L"window of class %ls at (%ld,%ld) belongs to: %ls\n", windowClass, point.x, point.y,
               std::wstring(name.data(), length).c_str());
  LatchExceptions excepted;
  excepted.Set({L"mspaint.exe", L"photoshop.exe", L"blender.exe", L"CAD.exe", std::wstring(name.data(), length)});
  LatchExceptions others;
  others.Set({L"mspaint.exe", L"photoshop.exe", L"blender.exe", L"CAD.exe", L"game.exe"});

  LARGE_INTEGER frequency{}, from{}, to{};
  ::QueryPerformanceFrequency(&frequency);
  std::vector<double> before, ordinary, inExcepted, notListed;
  int covered = 0;
  for (int i = 0; i < presses; ++i) {
    ::QueryPerformanceCounter(&from);
    volatile bool reach = LookAsBefore(point, nullptr);
    ::QueryPerformanceCounter(&to);
    before.push_back(Microseconds(from, to, frequency));

    ::QueryPerformanceCounter(&from);
    reach = mouse.LookAt(at, true).reachable;
    ::QueryPerformanceCounter(&to);
    ordinary.push_back(Microseconds(from, to, frequency));

    ::QueryPerformanceCounter(&from);
    covered += excepted.CoverProgram(programs, mouse.LookAt(at, true).program) ? 1 : 0;
    ::QueryPerformanceCounter(&to);
    inExcepted.push_back(Microseconds(from, to, frequency));

    ::QueryPerformanceCounter(&from);
    covered += others.CoverProgram(programs, mouse.LookAt(at, true).program) ? 1 : 0;
    ::QueryPerformanceCounter(&to);
    notListed.push_back(Microseconds(from, to, frequency));
    (void)reach;
  }
  Report("the look as it was (baseline):", before);
  Report("the hook's look now, ordinary press:", ordinary);
  Report("press in an excepted program:", inExcepted);
  Report("press that could latch, program not listed:", notListed);
  std::printf("found in the list: %d of %d\n", covered, presses);
  return covered == presses ? 0 : 1;
}
