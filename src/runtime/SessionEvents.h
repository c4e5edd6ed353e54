// What Windows says about the user's session that the program must answer: the user is
// leaving the desktop (the screen locks, the machine goes to sleep, another user or a
// remote connection takes the session, a secure desktop comes up) or is back on it, and
// the user started Vornatic again while this copy runs.
#pragma once
#include <functional>

namespace rt {

class SessionEvents {
 public:
  virtual ~SessionEvents() = default;
  // Each runs from the event pump when it happens; a new one replaces the last, and an
  // empty one stops the telling.
  virtual void OnLeavingDesktop(std::function<void()> leaving) = 0;
  virtual void OnReturnedToDesktop(std::function<void()> returned) = 0;
  virtual void OnStartedAgain(std::function<void()> startedAgain) = 0;
};

}  // namespace rt
