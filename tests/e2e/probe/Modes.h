// The probe's modes, one per job the end-to-end harness has for it.
#pragma once
#include <string>
#include <vector>

namespace probe {

using Arguments = std::vector<std::wstring>;

// A plain window that writes every mouse message it receives to a file.
int RunLogWindow(const Arguments& args);
// Describes a top-level window and its children as JSON on standard output.
int RunInspect(const Arguments& args);
// A window that does nothing: the baseline for idle CPU.
int RunIdleWindow(const Arguments& args);
// A window of a given class that will not close, however it is asked.
int RunStubbornWindow(const Arguments& args);
// An icon in the notification area that writes its callbacks to a file.
int RunTrayIcon(const Arguments& args);
// Takes another program's icon out of the tray, as a restarting Explorer forgets them all.
int RunForgetIcon(const Arguments& args);
// Posts a registered message to every top-level window, as Explorer does with "TaskbarCreated".
int RunBroadcast(const Arguments& args);
// Pointer position and the left and right buttons' state, as JSON.
int RunPointerQuery(const Arguments& args);

// The selection of a window's edit control, and where given characters are on screen.
int RunEditQuery(const Arguments& args);

// Sets the message font to a share of 9 points and announces it, as the text size does.
int RunTextSize(const Arguments& args);

// Each visible control's text width in its own font against the room the control gives it.
int RunFit(const Arguments& args);

// Runs the message loop until WM_QUIT; returns its exit code.
int PumpUntilQuit();

}  // namespace probe
