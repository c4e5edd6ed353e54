// PLACEHOLDER until the skin component lands.
#include "ui/SkinFramework.h"

void SkinFramework::LoadSkin(const std::wstring&, const std::wstring&) {}
void SkinFramework::ApplyWindow(std::int32_t) {}
