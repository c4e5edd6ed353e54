// The small and big icons of a window at its DPI. An icon of our resources is loaded at
// exactly the sizes the system uses at that DPI; any other picture is shown as it is.
// The icons stay owned here for as long as the window shows them.
#pragma once
#include <windows.h>

#include "runtime/Picture.h"
#include "runtime/win32/Handles.h"

namespace win32 {

class WindowIcons {
 public:
  void Apply(HWND window, const rt::Picture* picture, int dpi);

 private:
  UniqueIcon small_;
  UniqueIcon big_;
};

}  // namespace win32
