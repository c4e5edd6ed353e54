// Plain value types shared by the program and the platform behind the seam.
#pragma once
#include <cstdint>
#include <string>

namespace rt {

// An opaque Windows object handle as the program sees it: a number, never a pointer it may follow.
using WindowHandle = std::uintptr_t;
using HookHandle = std::uintptr_t;

// Colours in the platform's OLE encoding: 0x00BBGGRR for plain colours,
// high bit set and the low byte a system colour index for system colours.
using OleColor = std::uint32_t;
constexpr OleColor kWhite = 0x00FFFFFF;
constexpr OleColor kButtonFace = 0x8000000F;  // COLOR_BTNFACE
constexpr OleColor kButtonText = 0x80000012;  // COLOR_BTNTEXT
constexpr OleColor kWindowBack = 0x80000005;  // COLOR_WINDOW
constexpr OleColor kWindowText = 0x80000008;  // COLOR_WINDOWTEXT
constexpr OleColor kHighlight = 0x8000000D;   // COLOR_HIGHLIGHT
constexpr OleColor kHotLight = 0x8000001A;    // COLOR_HOTLIGHT
constexpr OleColor Rgb(int r, int g, int b) {
  return static_cast<OleColor>(r) | (static_cast<OleColor>(g) << 8) | (static_cast<OleColor>(b) << 16);
}
constexpr bool IsSystemColor(OleColor c) { return (c & 0x80000000u) != 0; }

// Window messages the program itself reasons about.
namespace msg {
constexpr std::uint32_t kContextMenu = 0x007B;
constexpr std::uint32_t kMouseMove = 0x0200;
constexpr std::uint32_t kLButtonDown = 0x0201;
constexpr std::uint32_t kLButtonUp = 0x0202;
constexpr std::uint32_t kLButtonDblClk = 0x0203;
constexpr std::uint32_t kRButtonDown = 0x0204;
constexpr std::uint32_t kRButtonUp = 0x0205;
constexpr std::uint32_t kRButtonDblClk = 0x0206;
constexpr std::uint32_t kMButtonDown = 0x0207;
constexpr std::uint32_t kMButtonUp = 0x0208;
constexpr std::uint32_t kMouseWheel = 0x020A;
constexpr std::uint32_t kUser = 0x0400;
}  // namespace msg

struct Font {
  std::wstring name;
  double points = 9.0;
  bool bold = false;
  int charset = 0;
  bool operator==(const Font&) const = default;
};

}  // namespace rt
