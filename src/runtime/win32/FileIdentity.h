// Which file a path leads to, as the file system numbers it: the same file is the same file
// whatever the letters' case, a short name or a path through another folder link.
#pragma once
#include <windows.h>

#include <optional>
#include <string>
#include <tuple>

namespace win32 {

using FileId = std::tuple<DWORD, DWORD, DWORD>;

// None when the path leads nowhere.
std::optional<FileId> FileIdentity(const std::wstring& path);

}  // namespace win32
