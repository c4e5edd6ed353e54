// cSysTray, the tray icon control: one icon in the notification area, its tip and balloon,
// and the shell's mouse notifications for it turned into four events of its host.
#pragma once
#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "runtime/NotifyIcon.h"
#include "runtime/Platform.h"
#include "runtime/controls/UserControlSite.h"
#include "tray/SysTray.h"

class cSysTray final {
 public:
  static constexpr std::uint32_t TrayCallbackMessage = SysTray::TrayCallbackMessage;
  // What a newly placed control shows until it is given a tip of its own.
  static constexpr const wchar_t* kDefaultTip = L"Telnet Server";
  // The control keeps itself square at this size on its host.
  static constexpr int kSideTwips = 510;

  // Creation: the control starts out of the tray.
  cSysTray(rt::Platform& platform, rt::UserControlSite& site, SysTray& routing);
  cSysTray(const cSysTray&) = delete;
  cSysTray& operator=(const cSysTray&) = delete;
  // Destruction: an icon still in the tray is taken out and the window procedure put back.
  ~cSysTray();

  rt::UserControlSite& Site() { return site_; }

  // Public members, in the order of the control's interface.
  const rt::PicturePtr& TrayIcon() const { return trayIcon_; }
  void SetTrayIcon(const rt::PicturePtr& icon);
  const std::wstring& TrayTip() const { return trayTip_; }
  void SetTrayTip(const std::wstring& tip);
  bool InTray() const { return inTray_; }
  void SetInTray(bool show);
  // Shows a balloon and returns at once; with showTimer > 0 the balloon is taken down
  // after showTimer seconds unless the shell closed it first. Nothing waits for it.
  // showTimer above 2147483 fails with "Overflow".
  void ShowBalloon(const std::wstring& tip, const std::wstring& sTitle, std::int32_t showTimer, bool showOnce);

  rt::Event<std::int32_t> MouseMove;                    // Id
  rt::Event<std::int16_t, std::int32_t> MouseDown;      // Button, Id
  rt::Event<std::int16_t, std::int32_t> MouseUp;        // Button, Id
  rt::Event<std::int16_t, std::int32_t> MouseDblClick;  // Button, Id
  // Id: the icon chosen with a click or from the keyboard.
  rt::Event<std::int32_t> Select;
  // Id: the icon's menu asked for, with the right button or from the keyboard (the menu key,
  // Shift+F10). A shell of the classic form tells only of the right button's release.
  rt::Event<std::int32_t> ContextMenu;
  // The taskbar was made anew and the icon put back: it may stand somewhere else now.
  rt::Event<> IconPlacedAgain;

  // The decoder: the notice and the icon id a tray callback carried.
  void HandleTrayMessage(std::int32_t message, std::int32_t id);
  // True once the shell took the control's request for version 4: the notice is then in
  // lParam's low word and the icon id in its high word, and wParam holds where the icon is.
  // Otherwise (the classic form) lParam is the notice and wParam the icon id.
  bool UsesVersion4() const { return version4_; }

  // Host life-cycle notifications.
  void InitProperties();
  void ReadProperties(const rt::PropertyBag& bag);
  void WriteProperties(rt::PropertyBag& bag) const;
  void Resize();

  // The control's own window: the shell's target for the icon and its notifications.
  rt::WindowHandle ControlWindow();
  // True from the add that InTray = True sent until the delete that InTray = False sent.
  bool IconAdded() const { return iconAdded_; }
  bool BalloonShowing() const { return balloonShowing_; }
  // Where the shell shows the icon now, when it is in the tray and the shell can say.
  std::optional<rt::ScreenRect> IconScreenRect();

 private:
  void AddTrayIcon(rt::WindowHandle window, std::int32_t iconId, const std::wstring& tip, const rt::PicturePtr& icon);
  void DeleteTrayIcon(rt::WindowHandle window, std::int32_t iconId);
  // Asks the shell for the notification behaviour of version 4, after every add.
  void AskForVersion4(rt::WindowHandle window, std::int32_t iconId);
  // Deletes the icon and gives the window its procedure back, when the icon is there.
  void TakeIconAway();
  void OnTaskbarCreated();
  // What the routing hands over: the callback message's parameters, unpacked here.
  void TrayCallback(std::uintptr_t wParam, std::intptr_t lParam);
  rt::TrayRecord NewRecord();

  rt::Platform& platform_;
  rt::UserControlSite& site_;
  SysTray& routing_;
  bool inTray_ = false;
  std::int32_t iconId_ = 0;
  std::wstring trayTip_;
  rt::WindowHandle windowHandle_ = 0;
  rt::PicturePtr trayIcon_;
  bool iconAdded_ = false;
  bool version4_ = false;
  bool balloonShowing_ = false;
  // Which balloon a pending take-down is for: a newer balloon is not taken down early.
  std::uint32_t balloonNumber_ = 0;
  // Pending take-downs hold this weakly, so one that comes after the control has gone does nothing.
  std::shared_ptr<cSysTray*> self_ = std::make_shared<cSysTray*>(this);
  std::int32_t onceCount_ = 0;
};
