// The system's own description of an error code, for failures the program reports.
#pragma once
#include <windows.h>

#include <string>

namespace win32 {

// The text FormatMessageW gives for code, without its trailing line break; a generic
// description with the number when the system has none.
std::wstring SystemMessage(DWORD code);

}  // namespace win32
