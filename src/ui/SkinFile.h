// Reads a skin file (docs/skin-format.md): a small INI-style text of named colours and
// fonts. Anything that is not a valid skin is turned away as "no skin", never as a failure:
// the parser does not throw on any input, reads nothing past the bytes it is given, and
// takes time in proportion to their length.
#pragma once
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

#include "runtime/Types.h"

namespace skin {

// The largest skin file worth reading; the component reads no more than this.
inline constexpr std::size_t kMaxFileBytes = 64 * 1024;
// A longer line is not a skin line: the file is turned away.
inline constexpr std::size_t kMaxLineLength = 256;
// Sizes a font line may ask for, in points.
inline constexpr double kMinFontPoints = 6.0;
inline constexpr double kMaxFontPoints = 36.0;
// A face name of Windows holds at most 31 characters.
inline constexpr std::size_t kMaxFontNameLength = 31;

// What a skin says. Whatever it leaves out stays as the window has it.
struct Skin {
  std::wstring name;  // the [Skin] Name line; may be empty

  struct Window {
    rt::OleColor background = 0;
    std::optional<rt::OleColor> text;
    std::optional<rt::Font> font;
    bool operator==(const Window&) const = default;
  } window;

  // Frames, labels, check boxes and option buttons.
  struct Controls {
    std::optional<rt::OleColor> background;
    std::optional<rt::OleColor> text;
    bool operator==(const Controls&) const = default;
  } controls;

  struct Button {
    rt::OleColor face = 0;
    std::optional<rt::OleColor> text;
    std::optional<rt::OleColor> hover;
    std::optional<rt::OleColor> pressed;
    std::optional<rt::OleColor> border;
    std::optional<rt::OleColor> focus;
    std::optional<rt::Font> font;
    bool operator==(const Button&) const = default;
  } button;

  bool operator==(const Skin&) const = default;
};

// The skin in a file's bytes (UTF-8 with or without a byte-order mark, or UTF-16LE with
// one), or nullopt when they are not a valid skin.
std::optional<Skin> ParseSkin(const std::uint8_t* data, std::size_t size);

}  // namespace skin
