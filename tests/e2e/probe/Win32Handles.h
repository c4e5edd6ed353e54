// Owners for the few Windows handles the probe opens, so every path closes them.
#pragma once
#include <windows.h>

#include <memory>

namespace probe {

struct FileCloser {
  void operator()(HANDLE file) const noexcept {
    if (file != nullptr && file != INVALID_HANDLE_VALUE) CloseHandle(file);
  }
};
using UniqueFile = std::unique_ptr<void, FileCloser>;

}  // namespace probe
