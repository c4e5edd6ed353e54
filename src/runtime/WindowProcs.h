// Replacing a window's procedure, and the window's user-data slot.
#pragma once
#include <cstdint>
#include <functional>

#include "runtime/Types.h"

namespace rt {

using ProgramWindowProc =
    std::function<std::intptr_t(WindowHandle, std::uint32_t message, std::uintptr_t wParam, std::intptr_t lParam)>;

class WindowProcs {
 public:
  virtual ~WindowProcs() = default;
  // Makes procedure the window's procedure; returns the one it replaced, as an opaque value.
  virtual std::uintptr_t ReplaceWindowProc(WindowHandle window, ProgramWindowProc procedure) = 0;
  // Puts a procedure returned by ReplaceWindowProc back.
  virtual void RestoreWindowProc(WindowHandle window, std::uintptr_t previous) = 0;
  virtual std::intptr_t CallWindowProc(std::uintptr_t procedure, WindowHandle window, std::uint32_t message,
                                       std::uintptr_t wParam, std::intptr_t lParam) = 0;
  virtual void SetUserData(WindowHandle window, std::uintptr_t value) = 0;
  virtual std::uintptr_t GetUserData(WindowHandle window) = 0;
};

}  // namespace rt
