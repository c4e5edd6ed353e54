// The end-to-end tests' probe: a small Windows program that sees the desktop from the
// inside, where xdotool and xwininfo only see X windows.
#include <windows.h>
#include <shellapi.h>

#include <memory>

#include "Modes.h"
#include "Text.h"

namespace {

struct LocalFreer {
  void operator()(LPWSTR* block) const noexcept { LocalFree(block); }
};

probe::Arguments CommandLineArguments() {
  int count = 0;
  std::unique_ptr<LPWSTR, LocalFreer> argv(CommandLineToArgvW(GetCommandLineW(), &count));
  probe::Arguments args;
  for (int i = 1; argv && i < count; ++i) args.emplace_back(argv.get()[i]);
  return args;
}

}  // namespace

int main() {
  const probe::Arguments args = CommandLineArguments();
  const std::wstring mode = args.empty() ? L"" : args.front();
  if (mode == L"log") return probe::RunLogWindow(args);
  if (mode == L"inspect") return probe::RunInspect(args);
  if (mode == L"idle") return probe::RunIdleWindow(args);
  if (mode == L"stubborn") return probe::RunStubbornWindow(args);
  if (mode == L"pointer") return probe::RunPointerQuery(args);
  if (mode == L"tray") return probe::RunTrayIcon(args);
  if (mode == L"edit") return probe::RunEditQuery(args);
  if (mode == L"forget-icon") return probe::RunForgetIcon(args);
  if (mode == L"broadcast") return probe::RunBroadcast(args);
  if (mode == L"fit") return probe::RunFit(args);
  if (mode == L"textsize") return probe::RunTextSize(args);
  probe::WriteStdout(
      "usage: probe log FILE [X Y WIDTH HEIGHT] | inspect TITLE | inspect --class CLASS | idle | stubborn CLASS | "
      "pointer | tray FILE | edit CLASS INDEX... | forget-icon HWND ID | broadcast NAME | fit TITLE | textsize PERCENT\n");
  return 2;
}
