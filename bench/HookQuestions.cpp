// What the mouse hook asks the platform about one press, timed: an ordinary press (is our
// own window under it, would our input reach it) beside a press that could latch while the
// list of programs where the latch stays out holds names (the same, and which program owns
// the window). Asked at the centre of another program's window, found by its class, in
// turns, so that both meet the same machine. Prints the median and the 99th percentile.
#include <windows.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <string>
#include <vector>

#include "autodrag/LatchExceptions.h"
#include "runtime/win32/Win32RunningPrograms.h"
#include "runtime/win32/WindowReach.h"

namespace {

double Microseconds(LARGE_INTEGER from, LARGE_INTEGER to, LARGE_INTEGER frequency) {
  return static_cast<double>(to.QuadPart - from.QuadPart) * 1e6 / static_cast<double>(frequency.QuadPart);
}

// As the hook asks of a button event: one look at the window there, ours or not, and whether
// input reaches it, with our own level read once as the hook reads it.
bool OrdinaryQuestions(POINT point, HWND own) {
  static const std::optional<DWORD> ourLevel = win32::IntegrityLevelOf(::GetCurrentProcess());
  const HWND window = ::WindowFromPoint(point);
  const bool ours = window != nullptr && ::GetAncestor(window, GA_ROOTOWNER) == own;
  return !ours && win32::InjectedInputReaches(window, ourLevel);
}

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

  win32::Win32RunningPrograms programs;
  std::array<wchar_t, rt::RunningPrograms::kLongestFileName> name{};
  const std::size_t length = programs.FileNameAt({point.x, point.y}, name);
  std::wprintf(L"window of class %ls at (%ld,%ld) belongs to: %ls\n", windowClass, point.x, point.y,
               std::wstring(name.data(), length).c_str());
  LatchExceptions excepted;
  excepted.Set({L"mspaint.exe", L"photoshop.exe", L"blender.exe", L"CAD.exe", std::wstring(name.data(), length)});
  LatchExceptions others;
  others.Set({L"mspaint.exe", L"photoshop.exe", L"blender.exe", L"CAD.exe", L"game.exe"});

  LARGE_INTEGER frequency{}, from{}, to{};
  ::QueryPerformanceFrequency(&frequency);
  std::vector<double> ordinary, inExcepted, notListed;
  int covered = 0;
  for (int i = 0; i < presses; ++i) {
    ::QueryPerformanceCounter(&from);
    volatile bool reach = OrdinaryQuestions(point, nullptr);
    ::QueryPerformanceCounter(&to);
    ordinary.push_back(Microseconds(from, to, frequency));

    ::QueryPerformanceCounter(&from);
    reach = OrdinaryQuestions(point, nullptr);
    covered += excepted.CoverWindowAt(programs, {point.x, point.y}) ? 1 : 0;
    ::QueryPerformanceCounter(&to);
    inExcepted.push_back(Microseconds(from, to, frequency));

    ::QueryPerformanceCounter(&from);
    reach = OrdinaryQuestions(point, nullptr);
    covered += others.CoverWindowAt(programs, {point.x, point.y}) ? 1 : 0;
    ::QueryPerformanceCounter(&to);
    notListed.push_back(Microseconds(from, to, frequency));
    (void)reach;
  }
  Report("ordinary press (baseline):", ordinary);
  Report("press in an excepted program:", inExcepted);
  Report("press that could latch, program not listed:", notListed);
  std::printf("found in the list: %d of %d\n", covered, presses);
  return covered == presses ? 0 : 1;
}
