// The application object: where the program lives, its title, and its end.
#pragma once
#include <string>

#include "runtime/Picture.h"

namespace rt {

class Application {
 public:
  virtual ~Application() = default;
  // The folder of the running executable: no trailing backslash except at a drive's root.
  virtual std::wstring ProgramFolder() = 0;
  // Full path of the running executable.
  virtual std::wstring ExecutablePath() = 0;
  // True when the path leads to the running executable's file however it is written, as
  // Windows finds files: any letter case, in any script, or a short 8.3 name.
  virtual bool IsThisExecutable(const std::wstring& path) = 0;
  // The program's own icon (the one in its resources) and the tray's blue K.
  virtual PicturePtr ApplicationIcon() = 0;
  virtual PicturePtr TrayIconPicture() = 0;
  // Ends the program at once: every window goes, no further handler of ours runs.
  [[noreturn]] virtual void EndProgram() = 0;
};

}  // namespace rt
