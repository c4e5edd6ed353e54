// A control window of a system class, taught a few extra messages: the handler sees each
// message first and either answers it or lets the class have it. Removed with the window
// or with this object, whichever goes first. Program code it reaches runs guarded.
#pragma once
#include <windows.h>

#include <optional>

#include "runtime/UnhandledFailure.h"

namespace win32 {

class SubclassHandler {
 public:
  // An answer when the message was handled, nullopt to pass it on to the class.
  virtual std::optional<LRESULT> OnSubclassMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) = 0;

 protected:
  ~SubclassHandler() = default;
};

class WindowSubclass {
 public:
  WindowSubclass(HWND window, SubclassHandler& handler, rt::UnhandledFailureSink& failures);
  WindowSubclass(const WindowSubclass&) = delete;
  WindowSubclass& operator=(const WindowSubclass&) = delete;
  ~WindowSubclass();

 private:
  static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                                    DWORD_PTR self);

  HWND window_;
  SubclassHandler& handler_;
  rt::UnhandledFailureSink& failures_;
};

}  // namespace win32
