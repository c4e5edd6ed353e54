// What a windowed user control gets from its host: its own window, the run-mode flag,
// its face picture, its size, a property-changed notice, and the saved-property bag.
#pragma once
#include <map>
#include <string>
#include <variant>

#include "runtime/Picture.h"
#include "runtime/Text.h"
#include "runtime/controls/Control.h"

namespace rt {

using PropertyValue = std::variant<bool, std::wstring, PicturePtr>;

// Saved properties by name, matched without regard to case as the host's store does.
class PropertyBag {
 public:
  bool Has(const std::wstring& name) const { return values_.count(Key(name)) != 0; }
  const PropertyValue* Find(const std::wstring& name) const {
    auto it = values_.find(Key(name));
    return it == values_.end() ? nullptr : &it->second;
  }
  void Write(const std::wstring& name, PropertyValue v) { values_[Key(name)] = std::move(v); }

 private:
  static std::wstring Key(const std::wstring& name) { return AsciiLower(name); }
  std::map<std::wstring, PropertyValue> values_;
};

class UserControlSite : public Control {
 public:
  explicit UserControlSite(std::wstring name) : Control(ControlKind::UserControl, std::move(name)) {}

  // True while the program runs, False in a design environment.
  bool UserMode() const { return userMode_; }
  void SetUserMode(bool m) { userMode_ = m; }
  const PicturePtr& Picture() const { return picture_; }
  void SetPicture(PicturePtr p) { picture_ = std::move(p); }

  Event<std::wstring> PropertyChanged;
  // The shell's taskbar came (back), after Explorer started again: every tray icon is gone.
  // The host raises this on each of its user controls when the shell broadcasts it.
  Event<> TaskbarCreated;
  void NotifyPropertyChanged(std::wstring name) { PropertyChanged.Raise(name); }

 private:
  bool userMode_ = true;
  PicturePtr picture_;
};

}  // namespace rt
