// One Vornatic per user session: the first copy holds a named mutex in the session's own
// namespace for as long as it runs, and a copy that finds it held is a second one. A second
// hook would count every click twice, and a second icon would sit in the tray.
#pragma once
#include <windows.h>

#include "runtime/win32/Handles.h"

namespace win32 {

class SingleCopy {
 public:
  SingleCopy();
  SingleCopy(const SingleCopy&) = delete;
  SingleCopy& operator=(const SingleCopy&) = delete;

  bool IsFirst() const { return first_; }

 private:
  UniqueKernelHandle mutex_;
  bool first_ = false;
};

// True when the command line carries /logon, as the start at logon does: a copy that finds
// the program already running then has nothing to show.
bool IsLogonStart(const wchar_t* commandLine);

}  // namespace win32
