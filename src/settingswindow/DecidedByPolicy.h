// Which of the Settings window's choices an administrator has made for the user: those show
// as they are, greyed, with "Set by your organisation" beside them.
#pragma once

struct DecidedByPolicy {
  bool latch = false;  // on or off, and the hold time
  bool latchRight = false;
  bool latchMiddle = false;
  bool shortcut = false;
  bool badge = false;
  bool latchExceptions = false;
  bool operator==(const DecidedByPolicy&) const = default;
};
