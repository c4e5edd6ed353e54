#include "tray/TrayText.h"

#include <algorithm>

#include "runtime/Text.h"

namespace tray {

void PutText(std::span<char16_t> field, const std::wstring& text) {
  if (field.empty()) return;
  const std::u16string units = rt::ToUtf16(text);
  std::size_t length = std::min(units.size(), field.size() - 1);
  if (length < units.size() && length > 0 && rt::IsHighSurrogate(units[length - 1])) --length;
  std::copy_n(units.begin(), length, field.begin());
  field[length] = u'\0';
  std::fill(field.begin() + static_cast<std::ptrdiff_t>(length) + 1, field.end(), u' ');
}

}  // namespace tray
