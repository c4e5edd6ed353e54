// A loaded picture (icon or cursor) the platform owns; the program holds it by shared_ptr.
#pragma once
#include <cstdint>
#include <memory>

namespace rt {

namespace pic {
constexpr int kBitmap = 1;
constexpr int kMetafile = 2;
constexpr int kIcon = 3;  // icons and cursors alike, as a picture loaded from a .cur file is
}  // namespace pic

class Picture {
 public:
  virtual ~Picture() = default;
  virtual int Type() const = 0;
  // The platform handle (HICON / HCURSOR); valid as long as the picture lives.
  virtual std::uintptr_t Handle() const = 0;
};

using PicturePtr = std::shared_ptr<const Picture>;

}  // namespace rt
