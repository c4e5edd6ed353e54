// Our skin component: loads a skin file (docs/skin-format.md) and restyles its window from
// it. It works on the window's model only; the platform draws whatever the model then says.
// A file that is not a valid skin loads nothing and raises no failure. It also gives the
// window its rule for what is shown (ui/ReadableLook.h), which sets a skin aside while the
// user has a high-contrast theme on.
#pragma once
#include <cstdint>
#include <optional>
#include <string>

#include "runtime/FileSystem.h"
#include "runtime/controls/Controls.h"
#include "runtime/controls/Form.h"
#include "ui/SkinFile.h"

class SkinFramework {
 public:
  // Option flag: the skin dresses the window's controls as well, not only the window.
  static constexpr std::int32_t kSkinControls = 1;

  SkinFramework(rt::FileSystem& files, rt::Form& host);

  // Dispatch id 2: loads the skin from the file, replacing any skin loaded before. A
  // non-empty scheme loads the file only when its [Skin] Name is that scheme (letters
  // compared without regard to case); an empty one takes whatever the file holds.
  void LoadSkin(const std::wstring& path, const std::wstring& scheme);
  bool SkinLoaded() const { return skin_.has_value(); }

  // Dispatch id 1: the option flags (kSkinControls); other bits are kept as written.
  std::int32_t Options() const { return options_; }
  void SetOptions(std::int32_t flags) { options_ = flags; }
  // Dispatch id 5: buttons take the skin's own hover and pressed colours; otherwise they
  // get shades of the skin's face colour.
  bool ButtonStateColors() const { return buttonStateColors_; }
  void SetButtonStateColors(bool on) { buttonStateColors_ = on; }
  // Dispatch id 10: the window and the buttons take the skin's fonts.
  bool SkinFonts() const { return skinFonts_; }
  void SetSkinFonts(bool on) { skinFonts_ = on; }

  // Dispatch id 3: applies the loaded skin to the component's own window, named by its
  // handle. Without a loaded skin nothing changes; any other handle is a failure.
  void ApplyWindow(std::int32_t windowHandle);

 private:
  void DressButton(rt::PushButton& button, const skin::Skin::Button& look) const;

  rt::FileSystem& files_;
  rt::Form& host_;
  std::optional<skin::Skin> skin_;
  std::int32_t options_ = 0;
  bool buttonStateColors_ = false;
  bool skinFonts_ = false;
};
