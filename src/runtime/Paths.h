// Splitting a Windows path into its folder and its file name, the one way every part of
// the program does it.
#pragma once
#include <string>

namespace rt {

// The folder without a trailing backslash, except at the root of a drive ("C:\").
std::wstring FolderOf(const std::wstring& path);
// The last part of the path: the file name with its extension.
std::wstring FileNameOf(const std::wstring& path);

}  // namespace rt
