// A registry key watched for changes: Windows signals an event, a thread-pool wait rings
// the pump's doorbell, and the user-interface thread arms the watch again and calls on.
// The ring travels as a message, so a change reaches the program in every message loop,
// a message box's and a menu's included.
#pragma once
#include <windows.h>

#include <functional>
#include <memory>
#include <string>

#include "runtime/EventPump.h"
#include "runtime/Registry.h"
#include "runtime/win32/Handles.h"

namespace win32 {

class Win32KeyWatch final : public rt::KeyWatch {
 public:
  // A watch Windows will not set up (no event, no wait) stays silent: what was read at
  // start holds until the next start.
  Win32KeyWatch(HKEY root, std::wstring subKey, rt::EventPump& pump, std::function<void()> changed);
  ~Win32KeyWatch() override;
  Win32KeyWatch(const Win32KeyWatch&) = delete;
  Win32KeyWatch& operator=(const Win32KeyWatch&) = delete;

 private:
  // Watches the key, or the nearest of its parents that exists until it is made.
  void Arm();
  static void CALLBACK Signalled(void* self, BOOLEAN timedOut);

  HKEY root_;
  std::wstring subKey_;
  std::function<void()> changed_;
  UniqueKernelHandle event_;
  UniqueKey watched_;
  std::unique_ptr<rt::Doorbell> doorbell_;
  HANDLE wait_ = nullptr;
};

}  // namespace win32
