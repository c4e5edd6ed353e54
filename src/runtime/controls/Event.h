// A control event with one handler, raised synchronously: the handler runs to its end
// before Raise returns, as events of a desktop runtime do. Arguments go by value; an
// argument the handler answers through (a cancel flag) is declared as a reference.
#pragma once
#include <functional>
#include <utility>

namespace rt {

template <typename... Args>
class Event {
 public:
  using Handler = std::function<void(Args...)>;
  void Handle(Handler handler) { handler_ = std::move(handler); }
  bool HasHandler() const { return static_cast<bool>(handler_); }
  void Raise(Args... args) const {
    if (handler_) handler_(args...);
  }

 private:
  Handler handler_;
};

}  // namespace rt
