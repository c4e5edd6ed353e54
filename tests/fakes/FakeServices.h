// Recording fakes of the platform's smaller services.
#pragma once
#include <functional>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "runtime/Accessibility.h"
#include "runtime/Application.h"
#include "runtime/Dialogs.h"
#include "runtime/FileSystem.h"
#include "runtime/NotifyIcon.h"
#include "runtime/ProgramStarter.h"
#include "runtime/Random.h"
#include "runtime/WindowProcs.h"

namespace fake {

class FakePicture : public rt::Picture {
 public:
  FakePicture(int type, std::uintptr_t handle) : type_(type), handle_(handle) {}
  int Type() const override { return type_; }
  std::uintptr_t Handle() const override { return handle_; }

 private:
  int type_;
  std::uintptr_t handle_;
};
rt::PicturePtr MakePicture(int type, std::uintptr_t handle);

struct ShownBox {
  std::wstring text;
  int style;
  std::wstring title;
};

class FakeDialogs : public rt::Dialogs {
 public:
  int MessageBox(const std::wstring& text, int style, const std::wstring& title) override;
  std::vector<ShownBox> shown;
  // Runs while the box is up, as other handlers can on the real platform.
  std::function<void(const ShownBox&)> whileShown;
  int answer = rt::mb::kOk;
};

class FakeApplication : public rt::Application {
 public:
  std::wstring ProgramFolder() override { return folder; }
  std::wstring ExecutablePath() override { return executable; }
  // The executable's path in any case of A to Z, or one of the other names a test gives it
  // (a short name, other letters' case): the file system's ruling, which the adapter test
  // checks against Windows.
  bool IsThisExecutable(const std::wstring& path) override;
  rt::PicturePtr ApplicationIcon() override { return appIcon; }
  rt::PicturePtr TrayIconPicture() override { return trayIcon; }
  [[noreturn]] void EndProgram() override;

  std::wstring folder = L"C:\\Program Files\\Vornatic";
  std::wstring executable = L"C:\\Program Files\\Vornatic\\Vornatic.exe";
  std::vector<std::wstring> otherNames;
  rt::PicturePtr appIcon = MakePicture(3, 0xA1);
  rt::PicturePtr trayIcon = MakePicture(3, 0xB1);
  bool ended = false;
};

struct FakeFile {
  std::vector<std::uint8_t> bytes;
  bool hidden = false;
  bool system = false;
  bool directory = false;
  bool picture = false;  // loads as an icon/cursor picture
};

class FakeFileSystem : public rt::FileSystem {
 public:
  std::int64_t LastModified(const std::wstring& path) override;
  bool IsOrdinaryFile(const std::wstring& path) override;
  std::optional<std::vector<std::uint8_t>> ReadFile(const std::wstring& path, std::size_t maxBytes) override;
  rt::PicturePtr LoadPicture(const std::wstring& path) override;

  void Put(const std::wstring& path, FakeFile file) { files[path] = std::move(file); }
  void PutText(const std::wstring& path, const std::string& text);
  std::map<std::wstring, FakeFile> files;
  std::vector<std::wstring> queried;
};

class FakeNotifyIcons : public rt::NotifyIcons {
 public:
  struct Call {
    std::uint32_t command;
    rt::TrayRecord record;
  };
  bool Send(std::uint32_t command, const rt::TrayRecord& record) override {
    calls.push_back({command, record});
    return result;
  }
  std::optional<rt::ScreenRect> IconRect(rt::WindowHandle, std::uint32_t) override {
    ++iconRectQueries;
    return iconRect;
  }
  std::vector<Call> calls;
  bool result = true;
  // Where the shell shows the icon; none: the shell cannot say (Wine's tray does not).
  std::optional<rt::ScreenRect> iconRect;
  int iconRectQueries = 0;
};

class FakeStarter : public rt::ProgramStarter {
 public:
  struct Started {
    std::wstring commandLine;
    int windowStyle;
  };
  void Start(const std::wstring& commandLine, int windowStyle) override;
  void OpenWebPage(const std::wstring& address, int windowStyle) override;
  std::vector<Started> started;
  struct Opened {
    std::wstring address;
    int windowStyle;
  };
  std::vector<Opened> opened;
  bool fail = false;
};

class FakeRandom : public rt::RandomSource {
 public:
  void Randomize(double seed) override { seeds.push_back(seed); }
  float Rnd() override { return next; }
  std::vector<double> seeds;
  float next = 0.5f;
};

// Windows with replaceable procedures. Each window starts with its own original procedure,
// which records the messages it is given.
class FakeWindowProcs : public rt::WindowProcs {
 public:
  struct Call {
    rt::WindowHandle window;
    std::uint32_t message;
    std::uintptr_t wParam;
    std::intptr_t lParam;
  };
  std::uintptr_t ReplaceWindowProc(rt::WindowHandle window, rt::ProgramWindowProc procedure) override;
  void RestoreWindowProc(rt::WindowHandle window, std::uintptr_t previous) override;
  std::intptr_t CallWindowProc(std::uintptr_t procedure, rt::WindowHandle window, std::uint32_t message,
                               std::uintptr_t wParam, std::intptr_t lParam) override;
  void SetUserData(rt::WindowHandle window, std::uintptr_t value) override { userData[window] = value; }
  std::uintptr_t GetUserData(rt::WindowHandle window) override { return userData[window]; }

  // Sends a message to the window's current procedure, as the system would.
  std::intptr_t Send(rt::WindowHandle window, std::uint32_t message, std::uintptr_t wParam, std::intptr_t lParam);
  static std::uintptr_t OriginalProcOf(rt::WindowHandle window) { return 0x70000000u + window; }
  static constexpr std::intptr_t kOriginalResult = 77;

  std::vector<Call> originalCalls;  // messages that reached an original procedure
  std::map<rt::WindowHandle, std::uintptr_t> current;
  std::map<rt::WindowHandle, std::uintptr_t> userData;

 private:
  std::map<std::uintptr_t, rt::ProgramWindowProc> programProcs_;
  std::uintptr_t nextProgramProc_ = 0x50000000u;
};

// What screen readers would have been told, with the control's caption at that moment.
class FakeAccessibility : public rt::Accessibility {
 public:
  struct Told {
    std::wstring control;
    std::optional<rt::LiveSetting> setting;  // empty: a live-region change
    std::wstring caption;
  };
  void SetLiveSetting(const rt::Control& control, rt::LiveSetting setting) override;
  void LiveRegionChanged(const rt::Control& control) override;
  std::vector<Told> told;
};

}  // namespace fake
