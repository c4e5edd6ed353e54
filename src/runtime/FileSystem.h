// The few file-system services the program needs.
#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "runtime/Picture.h"

namespace rt {

class FileSystem {
 public:
  virtual ~FileSystem() = default;
  // Last-modified time of a file or folder; throws Failure when the path cannot be queried.
  virtual std::int64_t LastModified(const std::wstring& path) = 0;
  // True when the path names an ordinary file: not a folder, not hidden, not system.
  virtual bool IsOrdinaryFile(const std::wstring& path) = 0;
  // The whole file, or nullopt when it cannot be read. maxBytes guards against huge files.
  virtual std::optional<std::vector<std::uint8_t>> ReadFile(const std::wstring& path, std::size_t maxBytes) = 0;
  // Loads an icon or cursor file as a picture; throws Failure when it is not one.
  virtual PicturePtr LoadPicture(const std::wstring& path) = 0;
};

}  // namespace rt
