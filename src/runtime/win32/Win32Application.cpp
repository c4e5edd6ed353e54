#include "runtime/win32/Win32Application.h"

#include <memory>

#include "ResourceIds.h"
#include "runtime/Failure.h"
#include "runtime/Paths.h"
#include "runtime/win32/FileIdentity.h"
#include "runtime/win32/Guarded.h"
#include "runtime/win32/Handles.h"
#include "runtime/win32/SystemLook.h"
#include "runtime/win32/SystemMessage.h"
#include "runtime/win32/Win32Picture.h"

namespace win32 {

std::wstring Win32Application::ExecutablePath() {
  std::wstring path(MAX_PATH, L'\0');
  for (;;) {
    const DWORD length = ::GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
    if (length == 0) throw rt::Failure(SystemMessage(::GetLastError()));
    if (length < path.size()) {
      path.resize(length);
      return path;
    }
    // Truncated: long paths can exceed MAX_PATH.
    path.resize(path.size() * 2);
  }
}

// The same file is the same file whatever the letters' case, a short name or a path
// through another folder link: ask the file system rather than compare texts.
bool Win32Application::IsThisExecutable(const std::wstring& path) {
  if (path.empty()) return false;
  const auto candidate = FileIdentity(path);
  return candidate && candidate == FileIdentity(ExecutablePath());
}

std::wstring Win32Application::ProgramFolder() { return rt::FolderOf(ExecutablePath()); }

rt::PicturePtr Win32Application::LoadIconResource(int id, int width, int height) {
  HANDLE image = ::LoadImageW(instance_, MAKEINTRESOURCEW(id), IMAGE_ICON, width, height, LR_DEFAULTCOLOR);
  if (image == nullptr) throw rt::Failure(SystemMessage(::GetLastError()));
  return std::make_shared<ResourceIconPicture>(UniqueIcon(static_cast<HICON>(image)), instance_, id);
}

// The window loads its own sizes of this art for its DPI (WindowIcons); this one is the
// picture the program holds.
rt::PicturePtr Win32Application::ApplicationIcon() {
  return LoadIconResource(IDI_VORNATIC_APPLICATION, ::GetSystemMetrics(SM_CXICON), ::GetSystemMetrics(SM_CYICON));
}

// The tray's K is drawn at each small-icon size up to 200 %, so the shell shows it crisp
// rather than scaled.
rt::PicturePtr Win32Application::TrayIconPicture() {
  const int side = SmallIconSide(SystemDpi());
  return LoadIconResource(IDI_VORNATIC_TRAY, side, side);
}

void Win32Application::EndProgram() {
  // No handler of the program runs from here on, not even for the windows going away.
  MarkProgramEnding();
  if (mainWindow_ != nullptr && ::IsWindow(mainWindow_)) ::DestroyWindow(mainWindow_);
  ::ExitProcess(0);
}

}  // namespace win32
