// The programs in whose windows a press held still stays an ordinary press: the window's
// thread hands the list over whole, and the mouse hook asks it about one press at a time
// without allocating and without waiting for the window's thread.
#pragma once
#include <array>
#include <atomic>
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

#include "runtime/RunningPrograms.h"

class LatchExceptions {
 public:
  // The window's thread: the programs' file names, in any case.
  void Set(const std::vector<std::wstring>& fileNames);
  bool Any() const { return count_.load() > 0; }

  // The hook's thread: whether the program (a process id, as the look at the window under
  // the press tells it) is one of them. Asks the platform only when the list holds any.
  bool CoverProgram(rt::RunningPrograms& programs, std::uint32_t program) const;
  // Whether the file name, in any case, is one of them.
  bool Cover(std::wstring_view fileName) const;

 private:
  // Held only to swap in a new list or to compare one name with a few: the window's thread
  // never keeps the hook waiting for more than that, and nothing is freed under it.
  mutable std::mutex mutex_;
  std::vector<std::wstring> names_;
  std::atomic<std::size_t> count_{0};
};
