// PLACEHOLDER until the tray control lands.
#include "tray/cSysTray.h"

#include "tray/SysTray.h"

cSysTray::cSysTray(rt::Platform& platform, rt::UserControlSite& site, SysTray& routing)
    : platform_(platform), site_(site), routing_(routing) {}
cSysTray::~cSysTray() = default;
void cSysTray::SetTrayIcon(const rt::PicturePtr& icon) { trayIcon_ = icon; }
void cSysTray::SetTrayTip(const std::wstring& tip) { trayTip_ = tip; }
void cSysTray::SetInTray(bool show) { inTray_ = show; }
void cSysTray::ShowBalloon(const std::wstring&, const std::wstring&, std::int32_t, bool) {}
void cSysTray::HandleTrayMessage(std::int32_t&, std::int32_t&) {}
void cSysTray::InitProperties() {}
void cSysTray::ReadProperties(const rt::PropertyBag&) {}
void cSysTray::WriteProperties(rt::PropertyBag&) {}
void cSysTray::Resize() {}
void cSysTray::AddTrayIcon(rt::WindowHandle, std::int32_t, const std::wstring&, const rt::PicturePtr&) {}
void cSysTray::DeleteTrayIcon(rt::WindowHandle, std::int32_t) {}
void cSysTray::OnTaskbarCreated() {}
