#include "runtime/win32/WindowIcons.h"

#include "runtime/win32/SystemLook.h"
#include "runtime/win32/Win32Picture.h"

namespace win32 {

void WindowIcons::Apply(HWND window, const rt::Picture* picture, int dpi) {
  const auto fallback = static_cast<LPARAM>(picture != nullptr ? picture->Handle() : 0);
  UniqueIcon smallIcon, bigIcon;
  if (const auto* art = dynamic_cast<const ResourceIconPicture*>(picture)) {
    smallIcon = art->LoadAt(SmallIconSide(dpi));
    bigIcon = art->LoadAt(BigIconSide(dpi));
  }
  ::SendMessageW(window, WM_SETICON, ICON_SMALL, smallIcon ? reinterpret_cast<LPARAM>(smallIcon.get()) : fallback);
  ::SendMessageW(window, WM_SETICON, ICON_BIG, bigIcon ? reinterpret_cast<LPARAM>(bigIcon.get()) : fallback);
  // The icons shown until now go only once the window has let go of them.
  small_ = std::move(smallIcon);
  big_ = std::move(bigIcon);
}

}  // namespace win32
