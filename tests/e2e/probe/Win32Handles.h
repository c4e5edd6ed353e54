// Owners for the few Windows handles the probe opens, so every path closes them.
#pragma once
#include <windows.h>

#include <memory>
#include <string>

namespace probe {

struct FileCloser {
  void operator()(HANDLE file) const noexcept {
    if (file != nullptr && file != INVALID_HANDLE_VALUE) CloseHandle(file);
  }
};
using UniqueFile = std::unique_ptr<void, FileCloser>;

// The window system speaks UTF-16; the harness reads UTF-8.
std::string ToUtf8(const std::wstring& text);

// Writes UTF-8 text to standard output in one piece.
void WriteStdout(const std::string& text);

}  // namespace probe
