// What the Settings window shows and gives back: every choice, as the program uses it.
#pragma once
#include <optional>
#include <string>
#include <vector>

#include "runtime/GlobalShortcuts.h"

struct SettingsValues {
  static constexpr int kShortestHoldMs = 200;
  static constexpr int kLongestHoldMs = 2200;
  // Where the slider stands for a latch that was off: the middle of Windows' own range.
  static constexpr int kDefaultHoldMs = 800;

  bool latchOn = false;
  int holdMs = kDefaultHoldMs;
  // The primary button always latches while the latch is on.
  bool latchRight = false;
  bool latchMiddle = false;
  // None: no shortcut.
  std::optional<rt::Shortcut> shortcut = rt::Shortcut{true, false, false, true, 'D'};
  bool badge = true;
  // The programs (file names) in whose windows a press held still stays a press.
  std::vector<std::wstring> latchExceptions;
  bool operator==(const SettingsValues&) const = default;
};
