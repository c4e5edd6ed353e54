// Icons and cursors handed to the program as pictures; each owns its handle.
#pragma once
#include <windows.h>

#include "runtime/Picture.h"
#include "runtime/win32/Handles.h"

namespace win32 {

class IconPicture : public rt::Picture {
 public:
  explicit IconPicture(UniqueIcon icon) : icon_(std::move(icon)) {}
  int Type() const override { return rt::pic::kIcon; }
  std::uintptr_t Handle() const override { return reinterpret_cast<std::uintptr_t>(icon_.get()); }

 private:
  UniqueIcon icon_;
};

// A picture loaded from a cursor file: the program sees an icon, Windows needs DestroyCursor.
class CursorPicture : public rt::Picture {
 public:
  explicit CursorPicture(UniqueCursor cursor) : cursor_(std::move(cursor)) {}
  int Type() const override { return rt::pic::kIcon; }
  std::uintptr_t Handle() const override { return reinterpret_cast<std::uintptr_t>(cursor_.get()); }

 private:
  UniqueCursor cursor_;
};

}  // namespace win32
