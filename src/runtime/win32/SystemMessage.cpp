#include "runtime/win32/SystemMessage.h"

#include <array>

namespace win32 {

std::wstring SystemMessage(DWORD code) {
  std::array<wchar_t, 512> buffer{};
  const DWORD length = ::FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, code, 0,
                                        buffer.data(), static_cast<DWORD>(buffer.size()), nullptr);
  std::wstring text(buffer.data(), length);
  while (!text.empty() && (text.back() == L'\n' || text.back() == L'\r' || text.back() == L' ')) text.pop_back();
  if (text.empty()) text = L"System error " + std::to_wstring(code);
  return text;
}

}  // namespace win32
