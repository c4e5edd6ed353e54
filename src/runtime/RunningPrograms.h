// Which programs show windows: the ones the user may pick from, and the file name of the one
// that owns the window under a press, which the mouse hook asks.
#pragma once
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "runtime/MouseInput.h"

namespace rt {

class RunningPrograms {
 public:
  // The longest file name a program can have, in characters.
  static constexpr std::size_t kLongestFileName = 260;

  virtual ~RunningPrograms() = default;
  // The file names ("notepad.exe") of the programs with a visible top-level window now,
  // each once, ourselves left out.
  virtual std::vector<std::wstring> WithOpenWindows() = 0;
  // The file name of the program with this process id (as `WindowAtPoint::program` tells it),
  // written into the buffer; returns its length, 0 when it cannot be told (no process, no
  // access, a name longer than the buffer). Called on the mouse hook's thread: it never
  // allocates.
  virtual std::size_t FileNameOf(std::uint32_t program, std::span<wchar_t> buffer) noexcept = 0;
};

}  // namespace rt
