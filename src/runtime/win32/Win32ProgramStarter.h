// Starting another program with a given window style, or opening an address through the
// shell, not waited for.
#pragma once
#include "runtime/ProgramStarter.h"

namespace win32 {

class Win32ProgramStarter : public rt::ProgramStarter {
 public:
  void Start(const std::wstring& commandLine, int windowStyle) override;
  void OpenWebPage(const std::wstring& address, int windowStyle) override;
};

}  // namespace win32
