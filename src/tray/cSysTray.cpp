#include "tray/cSysTray.h"

#include <chrono>
#include <limits>
#include <variant>

#include "runtime/Failure.h"
#include "tray/TrayText.h"

namespace {

namespace nin {
constexpr std::int32_t kSelect = 1024;     // the icon chosen with the mouse (version 4)
constexpr std::int32_t kKeySelect = 1025;  // ... or with Enter or Space
constexpr std::int32_t kBalloonHide = 1027;
constexpr std::int32_t kBalloonTimeout = 1028;
constexpr std::int32_t kBalloonUserClick = 1029;
}  // namespace nin

constexpr std::int16_t kLeftButton = 1;
constexpr std::int16_t kRightButton = 2;

std::wstring DefaultTip() { return std::wstring(cSysTray::kDefaultTip) + L'\0'; }

template <typename T>
T SavedOr(const rt::PropertyBag& bag, const wchar_t* name, T fallback) {
  const rt::PropertyValue* saved = bag.Find(name);
  if (saved == nullptr) return fallback;
  if (const T* value = std::get_if<T>(saved)) return *value;
  throw rt::Failure(L"Type mismatch");
}

}  // namespace

cSysTray::cSysTray(rt::Platform& platform, rt::UserControlSite& site, SysTray& routing)
    : platform_(platform), site_(site), routing_(routing) {
  site_.TaskbarCreated.Handle([this] { OnTaskbarCreated(); });
}

cSysTray::~cSysTray() {
  site_.TaskbarCreated.Handle({});
  // Nobody is left to hear a property-changed notice from a control that is going away,
  // so the icon and the hook are taken away directly. Nothing may escape a destructor:
  // the icon is the shell's, and at worst it stays until the pointer passes over it.
  try {
    TakeIconAway();
  } catch (...) {
  }
  inTray_ = false;
}

rt::WindowHandle cSysTray::ControlWindow() {
  // The host gives the control its window after building it, so the handle is taken at
  // its first use and kept from then on: the add, the modifies, the delete and the hook
  // all name the one window the icon was added for.
  if (windowHandle_ == 0) windowHandle_ = site_.Handle();
  return windowHandle_;
}

rt::TrayRecord cSysTray::NewRecord() {
  rt::TrayRecord record;
  record.hWnd = ControlWindow();
  record.uID = static_cast<std::uint32_t>(iconId_);
  return record;
}

void cSysTray::SetTrayIcon(const rt::PicturePtr& icon) {
  if (!icon || icon->Type() != rt::pic::kIcon) return;
  if (iconAdded_) {
    rt::TrayRecord record = NewRecord();
    record.uFlags = rt::nif::kIcon;
    record.hIcon = icon->Handle();
    platform_.tray.Send(rt::nim::kModify, record);
  }
  trayIcon_ = icon;
  site_.SetPicture(icon);
  site_.NotifyPropertyChanged(L"TrayIcon");
}

void cSysTray::SetTrayTip(const std::wstring& tip) {
  if (iconAdded_) {
    rt::TrayRecord record = NewRecord();
    record.uFlags = rt::nif::kTip | rt::nif::kShowTip;
    tray::PutText(record.szTip, tip);  // an empty tip too: it clears the one shown
    platform_.tray.Send(rt::nim::kModify, record);
  }
  trayTip_ = tip;
  site_.NotifyPropertyChanged(L"TrayTip");
}

void cSysTray::SetInTray(bool show) {
  if (show == inTray_) return;
  if (show) {
    if (site_.UserMode()) {
      routing_.InstallTrayHook(ControlWindow(), [this](std::uintptr_t wParam, std::intptr_t lParam) {
        TrayCallback(wParam, lParam);
      });
      AddTrayIcon(ControlWindow(), iconId_, TrayTip(), TrayIcon());
      iconAdded_ = true;
    }
  } else {
    TakeIconAway();
  }
  inTray_ = show;
  site_.NotifyPropertyChanged(L"InTray");
}

void cSysTray::TakeIconAway() {
  if (!iconAdded_) return;
  DeleteTrayIcon(ControlWindow(), iconId_);
  routing_.RemoveTrayHook(ControlWindow());
  iconAdded_ = false;
}

void cSysTray::ShowBalloon(const std::wstring& tip, const std::wstring& sTitle, std::int32_t showTimer, bool showOnce) {
  if (showOnce && onceCount_ >= 1) return;

  rt::TrayRecord record = NewRecord();
  record.uFlags = rt::nif::kInfo;
  tray::PutText(record.szInfoTitle, sTitle);
  tray::PutText(record.szInfo, tip);
  record.dwInfoFlags = 0;
  const std::int64_t milliseconds = showTimer > 0 ? std::int64_t{showTimer} * 1000 : 0;
  if (milliseconds > std::numeric_limits<std::int32_t>::max()) throw rt::Failure(L"Overflow");
  if (showTimer > 0) record.uTimeout = static_cast<std::uint32_t>(milliseconds);
  platform_.tray.Send(rt::nim::kModify, record);
  balloonShowing_ = true;
  const std::uint32_t number = ++balloonNumber_;
  if (showOnce) ++onceCount_;
  if (showTimer <= 0) return;

  // Nothing may wait for a balloon: auto-drag is armed while it shows, and a Stop or the
  // shortcut is obeyed at once. If the shell never says the balloon closed, it is taken
  // down when its time is up.
  std::weak_ptr<cSysTray*> alive = self_;
  platform_.pump.PostAfter(std::chrono::milliseconds(milliseconds), [alive, number, record]() mutable {
    const auto self = alive.lock();
    if (!self) return;
    cSysTray& tray = **self;
    if (!tray.balloonShowing_ || tray.balloonNumber_ != number || !tray.iconAdded_) return;
    tray.balloonShowing_ = false;
    tray::PutText(record.szInfoTitle, L"");
    tray::PutText(record.szInfo, L"");
    tray.platform_.tray.Send(rt::nim::kModify, record);
  });
}

std::optional<rt::ScreenRect> cSysTray::IconScreenRect() {
  if (!iconAdded_) return std::nullopt;
  return platform_.tray.IconRect(ControlWindow(), static_cast<std::uint32_t>(iconId_));
}

void cSysTray::TrayCallback(std::uintptr_t wParam, std::intptr_t lParam) {
  if (version4_) {
    const auto packed = static_cast<std::uint32_t>(lParam);
    HandleTrayMessage(static_cast<std::int32_t>(packed & 0xFFFFu), static_cast<std::int32_t>(packed >> 16));
  } else {
    HandleTrayMessage(static_cast<std::int32_t>(lParam), static_cast<std::int32_t>(wParam));
  }
}

void cSysTray::HandleTrayMessage(std::int32_t message, std::int32_t id) {
  std::int16_t button = 0;
  switch (message) {
    case rt::msg::kMouseMove:
      MouseMove.Raise(id);
      break;
    case rt::msg::kLButtonDown:
      button = kLeftButton;
      MouseDown.Raise(button, id);
      break;
    case rt::msg::kLButtonUp:
      button = kLeftButton;
      MouseUp.Raise(button, id);
      break;
    case rt::msg::kLButtonDblClk:
      button = kLeftButton;
      MouseDblClick.Raise(button, id);
      break;
    case rt::msg::kRButtonDown:
      button = kRightButton;
      MouseDown.Raise(button, id);
      break;
    case rt::msg::kRButtonUp:
      button = kRightButton;
      MouseUp.Raise(button, id);
      // With version 4 the shell follows the release with its menu notice.
      if (!version4_) ContextMenu.Raise(id);
      break;
    case rt::msg::kRButtonDblClk:
      button = kRightButton;
      MouseDblClick.Raise(button, id);
      break;
    case nin::kSelect:
    case nin::kKeySelect:
      Select.Raise(id);
      break;
    case rt::msg::kContextMenu:
      ContextMenu.Raise(id);
      break;
    case nin::kBalloonHide:
    case nin::kBalloonTimeout:
    case nin::kBalloonUserClick:
      balloonShowing_ = false;
      break;
    default:
      break;  // middle button, the balloon appearing, and anything newer shells send
  }
}

void cSysTray::InitProperties() {
  SetInTray(false);
  SetTrayTip(DefaultTip());
  SetTrayIcon(site_.Picture());
}

void cSysTray::ReadProperties(const rt::PropertyBag& bag) {
  SetInTray(SavedOr<bool>(bag, L"InTray", false));
  SetTrayIcon(SavedOr<rt::PicturePtr>(bag, L"TrayIcon", site_.Picture()));
  SetTrayTip(SavedOr<std::wstring>(bag, L"TrayTip", DefaultTip()));
}

void cSysTray::WriteProperties(rt::PropertyBag& bag) const {
  bag.Write(L"InTray", inTray_);
  bag.Write(L"TrayIcon", trayIcon_);
  bag.Write(L"TrayTip", trayTip_);
}

void cSysTray::Resize() {
  rt::TwipsRect bounds = site_.Bounds();
  bounds.width = kSideTwips;
  bounds.height = kSideTwips;
  site_.SetBounds(bounds);
}

void cSysTray::AddTrayIcon(rt::WindowHandle window, std::int32_t iconId, const std::wstring& tip,
                           const rt::PicturePtr& icon) {
  rt::TrayRecord record;
  record.hWnd = window;
  record.uID = static_cast<std::uint32_t>(iconId);
  if (icon) {
    record.hIcon = icon->Handle();
    record.uFlags |= rt::nif::kIcon;
    trayIcon_ = icon;
  }
  if (!tip.empty()) {
    tray::PutText(record.szTip, tip);
    record.uFlags |= rt::nif::kTip | rt::nif::kShowTip;
    trayTip_ = tip;
  }
  record.uCallbackMessage = TrayCallbackMessage;
  record.uFlags |= rt::nif::kMessage;
  platform_.tray.Send(rt::nim::kAdd, record);
  AskForVersion4(window, iconId);
}

void cSysTray::AskForVersion4(rt::WindowHandle window, std::int32_t iconId) {
  rt::TrayRecord record;
  record.hWnd = window;
  record.uID = static_cast<std::uint32_t>(iconId);
  record.uVersion = rt::kNotifyIconVersion4;
  // A shell that refuses keeps sending the classic form, which the routing reads as well.
  version4_ = platform_.tray.Send(rt::nim::kSetVersion, record);
}

void cSysTray::DeleteTrayIcon(rt::WindowHandle window, std::int32_t iconId) {
  rt::TrayRecord record;
  record.hWnd = window;
  record.uID = static_cast<std::uint32_t>(iconId);
  platform_.tray.Send(rt::nim::kDelete, record);
}

void cSysTray::OnTaskbarCreated() {
  // A new taskbar starts with an empty tray: without our icon a window hidden in the tray
  // could never be brought back. The window procedure is still ours; only the icon is gone.
  if (!iconAdded_) return;
  AddTrayIcon(ControlWindow(), iconId_, trayTip_, trayIcon_);
  IconPlacedAgain.Raise();
}
