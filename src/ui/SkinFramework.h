// Our skin component: loads a skin file and restyles a window from it. Its members are
// reached by the dispatch ids the start-up sequence uses.
#pragma once
#include <cstdint>
#include <string>

#include "runtime/Platform.h"
#include "runtime/controls/Form.h"

class SkinFramework {
 public:
  SkinFramework(rt::FileSystem& files, rt::Form& host) : files_(files), host_(host) {}

  // Dispatch id 2: loads the skin; a file that is not a valid skin loads nothing.
  void LoadSkin(const std::wstring& path, const std::wstring& section);
  // Dispatch id 1: the option flags.
  std::int32_t Options() const { return options_; }
  void SetOptions(std::int32_t flags) { options_ = flags; }
  // Dispatch ids 5 and 10: two Boolean options.
  bool Option5() const { return option5_; }
  void SetOption5(bool on) { option5_ = on; }
  bool Option10() const { return option10_; }
  void SetOption10(bool on) { option10_ = on; }
  // Dispatch id 3: applies the loaded skin to the window with that handle.
  void ApplyWindow(std::int32_t windowHandle);

 private:
  rt::FileSystem& files_;
  rt::Form& host_;
  std::int32_t options_ = 0;
  bool option5_ = false;
  bool option10_ = false;
};
