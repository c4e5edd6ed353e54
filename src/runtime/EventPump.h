// The user-interface thread's event pump: everything the program does happens in
// handlers dispatched from here, nested inside whatever long-running handler pumps.
#pragma once
#include <chrono>
#include <functional>
#include <optional>

namespace rt {

class EventPump {
 public:
  virtual ~EventPump() = default;

  // Dispatches every message waiting for the thread. When none was waiting, blocks until
  // one arrives (and dispatches it) or until maxWait has passed; nullopt waits without limit.
  // Every flag our loops test changes only inside a dispatched handler, so blocking here
  // instead of polling changes no outcome and costs no CPU while the user does nothing.
  virtual void PumpEvents(std::optional<std::chrono::milliseconds> maxWait) = 0;

  // Queues a task that a later pump dispatches like any other message, in posting order.
  virtual void Post(std::function<void()> task) = 0;
  // Queues a task for when the delay has passed on a steady clock; nothing waits meanwhile.
  virtual void PostAfter(std::chrono::milliseconds delay, std::function<void()> task) = 0;
};

}  // namespace rt
