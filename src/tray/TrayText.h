// Puts a text into one of the tray record's fixed-width UTF-16 fields.
#pragma once
#include <span>
#include <string>

namespace tray {

// The text in UTF-16, then one NUL, then spaces to the end of the field. A text too long
// for the field is cut so that the NUL still fits: the shell reads up to the first NUL,
// and a field without one would let it read on into the next field. The cut never splits
// a surrogate pair.
void PutText(std::span<char16_t> field, const std::wstring& text);

}  // namespace tray
