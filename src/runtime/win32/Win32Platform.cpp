#include "runtime/win32/Win32Platform.h"

#include "runtime/Language.h"

namespace win32 {

Win32Platform::Win32Platform(HINSTANCE instance)
    : app_(instance),
      pump_(instance, failures_),
      mouse_(instance, failures_, pump_),
      windowProcs_(failures_),
      shortcuts_(instance, failures_),
      badge_(instance),
      windows_(instance, failures_),
      textSource_(instance),
      texts_(textSource_, rt::ChooseLanguage(UserInterfaceLanguages())),
      bundle_{app_,     pump_,    clock_,     mouse_, tray_,    windowProcs_,   registry_, files_,   dialogs_, starter_,
              random_,  shortcuts_, badge_,   session_, accessibility_, menus_,   windows_,  texts_,   metrics_, programs_} {
  texts_.SetIntegerFormat(&UserInteger);
  windows_.SetPressActionName(texts_(rt::TextId::PressAction));
}

void Win32Platform::SetMainWindow(HWND window) {
  app_.SetMainWindow(window);
  dialogs_.SetOwner(window);
  session_.Attach(window);
  windows_.SetMainWindow(window);
}

}  // namespace win32
