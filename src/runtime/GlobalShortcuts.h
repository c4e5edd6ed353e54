// A keyboard shortcut that works from anywhere on the desktop, whichever program has the
// focus (RegisterHotKey: no keyboard hook, so we never see the user's typing).
#pragma once
#include <cstdint>
#include <functional>

namespace rt {

struct Shortcut {
  bool win = false;
  bool ctrl = false;
  bool alt = false;
  bool shift = false;
  // The key's virtual-key code: 'A'..'Z', '0'..'9', 0x70.. for F1...
  std::uint32_t key = 0;
  bool operator==(const Shortcut&) const = default;
};

class GlobalShortcuts {
 public:
  virtual ~GlobalShortcuts() = default;
  // Takes the shortcut for this program; `pressed` then runs from the event pump at each
  // press. False when it cannot be had (another program holds it). One at a time: a new
  // one replaces the last.
  virtual bool Register(const Shortcut& shortcut, std::function<void()> pressed) = 0;
  virtual void Unregister() = 0;
  // Whether Register would get it now: free, or the one we hold. Takes nothing for good.
  virtual bool Available(const Shortcut& shortcut) = 0;
};

}  // namespace rt
