// The Windows entry point: the platform, the program, its window, and the message loop. The
// program's own top, built for Windows alone: the backend below it never knows the program.
#include <windows.h>
// after windows.h, which it needs
#include <commctrl.h>

#include "app/Program.h"
#include "runtime/Failure.h"
#include "runtime/Language.h"
#include "runtime/win32/BringBackMessage.h"
#include "runtime/win32/CloseRequest.h"
#include "runtime/win32/FormHost.h"
#include "runtime/win32/Guarded.h"
#include "runtime/win32/SingleCopy.h"
#include "runtime/win32/SystemLibrary.h"
#include "runtime/win32/Win32MouseInput.h"
#include "runtime/win32/Win32Platform.h"
#include "runtime/win32/Win32TextSource.h"

namespace {

// The manifest declares per-monitor awareness; this only matters when it was not honoured.
// Where the process is already aware (or the system, like Wine, refuses the value) the call
// fails, and that is fine.
void DeclareDpiAwareness() {
  using SetContext = BOOL(WINAPI*)(DPI_AWARENESS_CONTEXT);
  HMODULE user32 = ::GetModuleHandleW(L"user32.dll");
  if (user32 == nullptr) return;
  auto setContext =
      reinterpret_cast<SetContext>(reinterpret_cast<void*>(::GetProcAddress(user32, "SetProcessDpiAwarenessContext")));
  if (setContext != nullptr) setContext(DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE_V2);
}

void InitCommonControls6() {
  INITCOMMONCONTROLSEX controls{};
  controls.dwSize = sizeof(controls);
  controls.dwICC = ICC_STANDARD_CLASSES | ICC_WIN95_CLASSES;
  ::InitCommonControlsEx(&controls);
}

// A crash that is no C++ exception (an access violation, say) passes no handler of ours;
// this is the last word before Windows ends the process.
LONG WINAPI LastChance(EXCEPTION_POINTERS*) {
  win32::Win32MouseInput::LetGoOnTheWayOut();
  return EXCEPTION_CONTINUE_SEARCH;
}

int RunProgram(HINSTANCE instance) {
  // One copy per session: a second start shows the first copy's window and ends before it
  // has an icon or a hook. The start at logon has nothing to show.
  const win32::SingleCopy copy;
  if (!copy.IsFirst()) {
    if (!win32::IsLogonStart(::GetCommandLineW())) win32::AskTheFirstCopyToComeBack();
    return 0;
  }
  win32::Win32Platform platform(instance);
  Program program(platform.Bundle());
  platform.RouteFailuresTo(program);
  const rt::Texts& texts = platform.Bundle().texts;
  FormHost host(program.MainWindow(), program, instance, std::nullopt, std::nullopt, texts(rt::TextId::PressAction));
  platform.SetMainWindow(host.MainWindow());
  // Windows tells its top-level windows of a new text size; the program hears it from here.
  host.OnSettingChange([&platform] { platform.Metrics().SettingChanged(); });
  win32::CloseRequestListener closeRequests(host.MainWindow(), platform.Failures());
  // Keyboard navigation between the window's controls works in nested pumps too.
  platform.Pump().SetPreTranslate(
      [&host, &platform](MSG& message) { return host.PreTranslate(message) || platform.Windows().PreTranslate(message); });
  win32::Guarded(platform.Failures(), [&] { program.Start(); });
  return host.RunMessageLoop([&platform](MSG& message) { return platform.Windows().PreTranslate(message); });
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
  win32::LoadDllsFromSystem32Only();
  DeclareDpiAwareness();
  InitCommonControls6();
  ::SetUnhandledExceptionFilter(&LastChance);
  try {
    return RunProgram(instance);
  } catch (const std::exception& failure) {
    // Only the building of the platform and the window can get here: the program's own code
    // runs guarded. There is no window to own the box yet.
    const win32::Win32TextSource catalogue(instance);
    const rt::Texts texts(catalogue, rt::ChooseLanguage(win32::UserInterfaceLanguages()));
    ::MessageBoxW(nullptr, Program::UnhandledFailureText(texts, rt::DescribeException(failure)).c_str(), L"Vornatic",
                  MB_OK | MB_ICONERROR | MB_SETFOREGROUND);
    return 1;
  }
}
