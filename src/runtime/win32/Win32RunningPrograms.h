// Which programs show windows, asked of Windows: the process behind a top-level window,
// read through a handle that may only ask its name.
#pragma once
#include "runtime/RunningPrograms.h"

namespace win32 {

class Win32RunningPrograms final : public rt::RunningPrograms {
 public:
  std::vector<std::wstring> WithOpenWindows() override;
  std::size_t FileNameOf(std::uint32_t program, std::span<wchar_t> buffer) noexcept override;
};

}  // namespace win32
