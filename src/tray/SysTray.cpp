// PLACEHOLDER until the tray routing lands.
#include "tray/SysTray.h"

void SysTray::InstallTrayHook(cSysTray&) {}
void SysTray::RemoveTrayHook(cSysTray&) {}
std::intptr_t SysTray::TrayWindowProc(rt::WindowHandle, std::uint32_t, std::uintptr_t, std::intptr_t) { return 0; }
