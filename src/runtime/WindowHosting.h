// Makes a real window for a form of the model beside the main one (a dialog), when the
// program first needs it. The window lives as long as the returned object.
#pragma once
#include <memory>

#include "runtime/controls/Form.h"

namespace rt {

class HostedWindow {
 public:
  virtual ~HostedWindow() = default;
};

class WindowHosting {
 public:
  virtual ~WindowHosting() = default;
  // The form's window, hidden until the form is made visible; a dialog's close box asks the
  // form (QueryUnload) and leaves it to the program to hide it.
  virtual std::unique_ptr<HostedWindow> HostDialog(Form& form) = 0;
};

}  // namespace rt
