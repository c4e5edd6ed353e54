#include "settings/RunCommandLine.h"

#include <string_view>

#include "runtime/Text.h"

namespace runcommand {

namespace {

std::wstring_view TrimBlanks(std::wstring_view text) {
  const auto first = text.find_first_not_of(L" \t");
  if (first == std::wstring_view::npos) return {};
  return text.substr(first, text.find_last_not_of(L" \t") - first + 1);
}

}  // namespace

bool StartsProgram(const std::wstring& command, const std::wstring& programPath) {
  const std::wstring_view text = TrimBlanks(command);
  if (text.empty() || programPath.empty()) return false;
  if (text.front() == L'"') {
    const auto closing = text.find(L'"', 1);
    const std::wstring_view quoted = text.substr(1, closing == std::wstring_view::npos ? closing : closing - 1);
    return rt::EqualsIgnoringAsciiCase(quoted, programPath);
  }
  // Unquoted, the path may go on to arguments after a blank.
  if (text.size() < programPath.size()) return false;
  if (!rt::EqualsIgnoringAsciiCase(text.substr(0, programPath.size()), programPath)) return false;
  return text.size() == programPath.size() || text[programPath.size()] == L' ' || text[programPath.size()] == L'\t';
}

}  // namespace runcommand
