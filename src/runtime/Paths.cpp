#include "runtime/Paths.h"

namespace rt {
namespace {
std::size_t LastSeparator(const std::wstring& path) { return path.find_last_of(L"\\/"); }
}  // namespace

std::wstring FolderOf(const std::wstring& path) {
  const auto separator = LastSeparator(path);
  if (separator == std::wstring::npos) return path;
  std::wstring folder = path.substr(0, separator);
  // "C:" alone would mean the drive's current folder, not its root.
  if (folder.size() == 2 && folder[1] == L':') folder.push_back(L'\\');
  return folder;
}

std::wstring FileNameOf(const std::wstring& path) {
  const auto separator = LastSeparator(path);
  return separator == std::wstring::npos ? path : path.substr(separator + 1);
}

}  // namespace rt
