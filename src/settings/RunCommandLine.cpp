#include "settings/RunCommandLine.h"

#include <string_view>

namespace runcommand {

namespace {

std::wstring_view TrimBlanks(std::wstring_view text) {
  const auto first = text.find_first_not_of(L" \t");
  if (first == std::wstring_view::npos) return {};
  return text.substr(first, text.find_last_not_of(L" \t") - first + 1);
}

}  // namespace

bool StartsProgram(const std::wstring& command, const IsProgram& isProgram) {
  const std::wstring_view text = TrimBlanks(command);
  if (text.empty()) return false;
  if (text.front() == L'"') {
    const auto closing = text.find(L'"', 1);
    const std::wstring_view quoted = text.substr(1, closing == std::wstring_view::npos ? closing : closing - 1);
    return !quoted.empty() && isProgram(std::wstring(quoted));
  }
  for (std::size_t end = text.find_first_of(L" \t");; end = text.find_first_of(L" \t", end + 1)) {
    if (isProgram(std::wstring(text.substr(0, end)))) return true;
    if (end == std::wstring_view::npos) return false;
  }
}

}  // namespace runcommand
