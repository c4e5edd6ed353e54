// Starting another program with a given window style, not waited for.
#pragma once
#include "runtime/ProgramStarter.h"

namespace win32 {

class Win32ProgramStarter : public rt::ProgramStarter {
 public:
  void Start(const std::wstring& commandLine, int windowStyle) override;
};

}  // namespace win32
