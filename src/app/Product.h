// The product's name, and the addresses the window and its reports give.
#pragma once

namespace product {
inline constexpr const wchar_t* kDisplayName = L"Vornatic";
inline constexpr const wchar_t* kSupportEmail = L"support@kestrova.example";
inline constexpr const wchar_t* kHomePage = L"https://www.kestrova.example/";
}  // namespace product
