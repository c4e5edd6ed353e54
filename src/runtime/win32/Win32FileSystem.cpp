#include "runtime/win32/Win32FileSystem.h"

#include <windows.h>

#include <algorithm>
#include <memory>

#include "runtime/Failure.h"
#include "runtime/win32/Handles.h"
#include "runtime/win32/SystemMessage.h"
#include "runtime/win32/Win32Picture.h"

namespace win32 {

std::int64_t Win32FileSystem::LastModified(const std::wstring& path) {
  WIN32_FILE_ATTRIBUTE_DATA data{};
  if (!::GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data))
    throw rt::Failure(SystemMessage(::GetLastError()));
  // 100-nanosecond intervals since 1601, as the file system keeps them.
  ULARGE_INTEGER written{};
  written.LowPart = data.ftLastWriteTime.dwLowDateTime;
  written.HighPart = data.ftLastWriteTime.dwHighDateTime;
  return static_cast<std::int64_t>(written.QuadPart);
}

bool Win32FileSystem::IsOrdinaryFile(const std::wstring& path) {
  const DWORD attributes = ::GetFileAttributesW(path.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES) return false;
  return (attributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM)) == 0;
}

std::optional<std::vector<std::uint8_t>> Win32FileSystem::ReadFile(const std::wstring& path, std::size_t maxBytes) {
  UniqueKernelHandle file = AdoptFileHandle(::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                                          OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return std::nullopt;
  LARGE_INTEGER size{};
  if (!::GetFileSizeEx(file.get(), &size) || size.QuadPart < 0 ||
      static_cast<unsigned long long>(size.QuadPart) > maxBytes)
    return std::nullopt;
  std::vector<std::uint8_t> bytes(static_cast<std::size_t>(size.QuadPart));
  std::size_t done = 0;
  while (done < bytes.size()) {
    const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(bytes.size() - done, 1u << 30));
    DWORD read = 0;
    if (!::ReadFile(file.get(), bytes.data() + done, chunk, &read, nullptr)) return std::nullopt;
    if (read == 0) break;  // the file shrank meanwhile
    done += read;
  }
  bytes.resize(done);
  return bytes;
}

rt::PicturePtr Win32FileSystem::LoadPicture(const std::wstring& path) {
  if (HANDLE cursor = ::LoadImageW(nullptr, path.c_str(), IMAGE_CURSOR, 0, 0, LR_LOADFROMFILE))
    return std::make_shared<CursorPicture>(UniqueCursor(static_cast<HCURSOR>(cursor)));
  if (HANDLE icon = ::LoadImageW(nullptr, path.c_str(), IMAGE_ICON, 0, 0, LR_LOADFROMFILE))
    return std::make_shared<IconPicture>(UniqueIcon(static_cast<HICON>(icon)));
  throw rt::Failure(L"Invalid picture");
}

}  // namespace win32
