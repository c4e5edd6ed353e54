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

// An icon of our own resources: the same art can be loaded again at another size, so that
// a window gets crisp icons at whatever DPI it shows.
class ResourceIconPicture : public IconPicture {
 public:
  ResourceIconPicture(UniqueIcon icon, HINSTANCE module, int id)
      : IconPicture(std::move(icon)), module_(module), id_(id) {}
  // nullptr when the resource cannot be loaded.
  UniqueIcon LoadAt(int side) const {
    return UniqueIcon(
        static_cast<HICON>(::LoadImageW(module_, MAKEINTRESOURCEW(id_), IMAGE_ICON, side, side, LR_DEFAULTCOLOR)));
  }

 private:
  HINSTANCE module_;
  int id_;
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
