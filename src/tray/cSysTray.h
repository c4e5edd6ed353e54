// The tray icon control: one icon in the notification area, its tip and balloon, and the
// shell's mouse notifications for it turned into four events of its host.
#pragma once
#include <cstdint>
#include <string>

#include "runtime/NotifyIcon.h"
#include "runtime/Platform.h"
#include "runtime/controls/UserControlSite.h"

class SysTray;

class cSysTray {
 public:
  static constexpr std::uint32_t TrayCallbackMessage = rt::msg::kUser + 101;  // 1125

  cSysTray(rt::Platform& platform, rt::UserControlSite& site, SysTray& routing);
  cSysTray(const cSysTray&) = delete;
  cSysTray& operator=(const cSysTray&) = delete;
  ~cSysTray();

  rt::UserControlSite& Site() { return site_; }

  // Public members, in the order of the control's interface.
  const rt::PicturePtr& TrayIcon() const { return trayIcon_; }
  void SetTrayIcon(const rt::PicturePtr& icon);
  const std::wstring& TrayTip() const { return trayTip_; }
  void SetTrayTip(const std::wstring& tip);
  bool InTray() const { return inTray_; }
  void SetInTray(bool show);
  void ShowBalloon(const std::wstring& tip, const std::wstring& sTitle, std::int32_t showTimer, bool showOnce);

  rt::Event<std::int32_t> MouseMove;
  rt::Event<std::int16_t, std::int32_t> MouseDown;
  rt::Event<std::int16_t, std::int32_t> MouseUp;
  rt::Event<std::int16_t, std::int32_t> MouseDblClick;

  // Called only by the tray window procedure.
  void HandleTrayMessage(std::int32_t& message, std::int32_t& id);

  // Host life-cycle notifications.
  void InitProperties();
  void ReadProperties(const rt::PropertyBag& bag);
  void WriteProperties(rt::PropertyBag& bag);
  void Resize();

 private:
  void AddTrayIcon(rt::WindowHandle window, std::int32_t iconId, const std::wstring& tip, const rt::PicturePtr& icon);
  void DeleteTrayIcon(rt::WindowHandle window, std::int32_t iconId);
  void OnTaskbarCreated();

  rt::Platform& platform_;
  rt::UserControlSite& site_;
  SysTray& routing_;
  bool inTray_ = false;
  std::int32_t iconId_ = 0;
  std::wstring trayTip_;
  rt::WindowHandle windowHandle_ = 0;
  rt::PicturePtr trayIcon_;
  bool iconAdded_ = false;
  bool balloonShowing_ = false;
  std::int32_t onceCount_ = 0;
};
