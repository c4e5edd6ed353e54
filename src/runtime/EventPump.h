// The user-interface thread's event pump: everything the program does happens in
// handlers dispatched from here, nested inside whatever long-running handler pumps.
#pragma once
#include <chrono>
#include <functional>
#include <memory>
#include <optional>

namespace rt {

// A wake-up that any thread may give the user-interface thread. Ring never throws, never
// allocates and never waits, so a thread that must answer at once (the mouse hook's) can
// use it; the handler then runs on the user-interface thread from a later pump, once for
// any number of rings before it. False: the wake-up could not be sent; ring again later.
class Doorbell {
 public:
  virtual ~Doorbell() = default;
  virtual bool Ring() noexcept = 0;
};

class EventPump {
 public:
  virtual ~EventPump() = default;

  // Dispatches every message waiting for the thread. When none was waiting, blocks until
  // one arrives (and dispatches it) or until maxWait has passed; nullopt waits without limit.
  // Every flag our loops test changes only inside a dispatched handler, so blocking here
  // instead of polling changes no outcome and costs no CPU while the user does nothing.
  virtual void PumpEvents(std::optional<std::chrono::milliseconds> maxWait) = 0;

  // Queues a task that a later pump dispatches like any other message, in posting order.
  // These three are for the user-interface thread itself; other threads ring a doorbell.
  virtual void Post(std::function<void()> task) = 0;
  // Queues a task for when the delay has passed on a steady clock; nothing waits meanwhile.
  virtual void PostAfter(std::chrono::milliseconds delay, std::function<void()> task) = 0;
  virtual std::unique_ptr<Doorbell> MakeDoorbell(std::function<void()> handler) = 0;
};

}  // namespace rt
