#include "runtime/win32/Win32Clock.h"

#include <windows.h>

namespace win32 {

float Win32Clock::TimeOfDay() {
  SYSTEMTIME now{};
  ::GetLocalTime(&now);
  const double seconds = now.wHour * 3600.0 + now.wMinute * 60.0 + now.wSecond + now.wMilliseconds / 1000.0;
  return static_cast<float>(seconds);
}

}  // namespace win32
