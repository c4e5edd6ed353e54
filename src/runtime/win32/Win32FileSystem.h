// File dates, attributes and contents, and icon or cursor files loaded as pictures.
#pragma once
#include "runtime/FileSystem.h"

namespace win32 {

class Win32FileSystem : public rt::FileSystem {
 public:
  std::int64_t LastModified(const std::wstring& path) override;
  bool IsOrdinaryFile(const std::wstring& path) override;
  std::optional<std::vector<std::uint8_t>> ReadFile(const std::wstring& path, std::size_t maxBytes) override;
  rt::PicturePtr LoadPicture(const std::wstring& path) override;
};

}  // namespace win32
