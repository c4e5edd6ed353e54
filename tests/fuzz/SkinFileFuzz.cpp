// libFuzzer target for the skin parser: any bytes at all must come back as a skin or as
// "no skin", without a crash, a hang or a read out of bounds (the sanitizers watch for
// those), and a skin that comes back must keep the format's own limits.
#include <cstdint>
#include <cstdlib>

#include "ui/SkinFile.h"

namespace {

void Require(bool condition) {
  if (!condition) std::abort();
}

bool IsPlainColor(rt::OleColor c) { return c <= 0xFFFFFFu; }

void CheckColor(const std::optional<rt::OleColor>& c) { Require(!c || IsPlainColor(*c)); }

void CheckFont(const std::optional<rt::Font>& font) {
  if (!font) return;
  Require(!font->name.empty() && font->name.size() <= 2 * skin::kMaxFontNameLength);
  Require(font->points >= skin::kMinFontPoints && font->points <= skin::kMaxFontPoints);
  Require(font->charset >= 0 && font->charset <= 255);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const auto skin = skin::ParseSkin(data, size);
  if (!skin) return 0;
  Require(size <= skin::kMaxFileBytes);
  Require(IsPlainColor(skin->window.background) && IsPlainColor(skin->button.face));
  for (const auto* c : {&skin->window.text, &skin->controls.background, &skin->controls.text, &skin->button.text,
                        &skin->button.hover, &skin->button.pressed, &skin->button.border, &skin->button.focus})
    CheckColor(*c);
  CheckFont(skin->window.font);
  CheckFont(skin->button.font);
  Require(skin->name.size() <= 2 * skin::kMaxLineLength);
  return 0;
}
