// Modal message boxes.
#pragma once
#include <string>

namespace rt {

namespace mb {
constexpr int kOkOnly = 0;
constexpr int kExclamation = 48;
constexpr int kCritical = 16;
constexpr int kOk = 1;  // the answer of the OK button
}  // namespace mb

class Dialogs {
 public:
  virtual ~Dialogs() = default;
  // Shows a modal box owned by the program's main window; the thread keeps handling its
  // other messages meanwhile. Returns the button the user chose.
  virtual int MessageBox(const std::wstring& text, int style, const std::wstring& title) = 0;
};

}  // namespace rt
