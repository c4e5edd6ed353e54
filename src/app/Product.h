// The product's names and the maker's addresses, kept in one place.
#pragma once

namespace product {
inline constexpr const wchar_t* kDisplayName = L"Vornatic";
inline constexpr const wchar_t* kMakerName = L"Kestrova";
inline constexpr const wchar_t* kSupportEmail = L"support@kestrova.example";
inline constexpr const wchar_t* kHomePage = L"https://www.kestrova.example/";
inline constexpr const wchar_t* kContactPage = L"https://www.kestrova.example/contact/";
}  // namespace product
