// Whether input we inject can reach a window: Windows drops injected input aimed at a
// window of a process running at a higher integrity level than ours (an administrator's
// program while we are not), without telling the sender.
#pragma once
#include <windows.h>

#include <optional>

namespace win32 {

// The mandatory integrity level (a SECURITY_MANDATORY_*_RID) of a process, if it can be read.
std::optional<DWORD> IntegrityLevelOf(HANDLE process);
std::optional<DWORD> IntegrityLevelOfProcess(DWORD processId);

// False only when the window is known to belong to a higher level than ours (read once by
// the caller, none when it could not be); when a level cannot be read we try, as we always
// did. No allocation: the hook asks this.
bool InjectedInputReaches(HWND window, std::optional<DWORD> ourLevel);

}  // namespace win32
