// How a second copy asks the first to show its window: a message registered by name, so
// both copies agree on its number, posted to the first copy's main window. The first copy
// lets it through the filter that would keep it out if it ran elevated.
#pragma once
#include <windows.h>

namespace win32 {

UINT BringBackMessage();
// For the main window of the copy that runs: a second copy at a lower level may ask too.
void LetBringBackIn(HWND mainWindow);
// From a second copy: finds the first copy's main window and posts the message there,
// lending it our right to come to the front. False when there is no such window yet.
bool AskTheFirstCopyToComeBack();

}  // namespace win32
