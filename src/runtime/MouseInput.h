// System-wide mouse input: the low-level hook and injected button events.
#pragma once
#include <cstdint>
#include <functional>

#include "runtime/Types.h"

namespace rt {

// What the low-level hook is told about one mouse event (the MSLLHOOKSTRUCT fields).
struct LowLevelMouseEvent {
  std::int32_t x = 0;
  std::int32_t y = 0;
  std::uint32_t mouseData = 0;
  std::uint32_t flags = 0;
  std::uint32_t time = 0;
  std::uintptr_t extraInfo = 0;
  // The platform's own record, for passing the event on unchanged; opaque to the program.
  std::uintptr_t nativeRecord = 0;
};

// The hook procedure: hook code, message identifier, event record; returns the hook's
// result (nonzero without calling the next hook swallows the event).
using MouseHookProcedure =
    std::function<std::intptr_t(int code, std::uintptr_t message, const LowLevelMouseEvent& event)>;

enum class LeftButtonAction { Press, Release };

class MouseInput {
 public:
  virtual ~MouseInput() = default;
  // Installs a desktop-wide low-level mouse hook; returns its handle, 0 on failure.
  virtual HookHandle SetLowLevelHook(MouseHookProcedure procedure) = 0;
  // Removes a hook; false when the handle is not a live hook (0, or already removed).
  virtual bool Unhook(HookHandle handle) = 0;
  virtual std::intptr_t CallNextHook(HookHandle handle, int code, std::uintptr_t message,
                                     const LowLevelMouseEvent& event) = 0;
  // A left-button press or release at the pointer's current position, carrying extraInfo.
  virtual void InjectLeftButton(LeftButtonAction action, std::uintptr_t extraInfo) = 0;
  virtual unsigned DoubleClickTimeMs() = 0;
};

}  // namespace rt
