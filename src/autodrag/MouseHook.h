// One installed low-level mouse hook, owned: it is removed when its owner goes, on every
// path, and can be handed on but never copied.
#pragma once
#include <cstdint>

#include "runtime/MouseInput.h"

class MouseHook {
 public:
  MouseHook() = default;
  // Installs the procedure for the whole desktop; Installed() tells whether Windows took it.
  MouseHook(rt::MouseInput& input, rt::MouseHookProcedure procedure)
      : input_(&input), handle_(input.SetLowLevelHook(std::move(procedure))) {}
  MouseHook(MouseHook&& other) noexcept : input_(other.input_), handle_(other.handle_) { other.handle_ = 0; }
  MouseHook& operator=(MouseHook&& other) noexcept {
    if (this != &other) {
      Remove();
      input_ = other.input_;
      handle_ = other.handle_;
      other.handle_ = 0;
    }
    return *this;
  }
  MouseHook(const MouseHook&) = delete;
  MouseHook& operator=(const MouseHook&) = delete;
  ~MouseHook() { Remove(); }

  bool Installed() const { return handle_ != 0; }
  rt::HookHandle Handle() const { return handle_; }
  void Remove() {
    if (handle_ != 0) input_->Unhook(handle_);
    handle_ = 0;
  }

 private:
  rt::MouseInput* input_ = nullptr;
  rt::HookHandle handle_ = 0;
};
