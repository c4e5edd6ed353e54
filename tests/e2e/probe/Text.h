// Text for the harness: the window system speaks UTF-16, the harness reads UTF-8.
#pragma once
#include <string>

namespace probe {

std::string ToUtf8(const std::wstring& text);
// Writes text to standard output in one piece.
void WriteStdout(const std::string& text);

}  // namespace probe
