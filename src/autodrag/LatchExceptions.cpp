#include "autodrag/LatchExceptions.h"

#include <algorithm>

#include "runtime/Text.h"

void LatchExceptions::Set(const std::vector<std::wstring>& fileNames) {
  std::vector<std::wstring> names;
  for (const std::wstring& name : fileNames)
    if (!name.empty()) names.push_back(name);
  {
    std::lock_guard<std::mutex> lock(mutex_);
    names_.swap(names);
    count_ = names_.size();
  }
  // The old list goes here, outside the lock.
}

bool LatchExceptions::CoverProgram(rt::RunningPrograms& programs, std::uint32_t program) const {
  if (!Any() || program == 0) return false;
  std::array<wchar_t, rt::RunningPrograms::kLongestFileName> name;
  const std::size_t length = programs.FileNameOf(program, name);
  return length > 0 && length <= name.size() && Cover(std::wstring_view(name.data(), length));
}

bool LatchExceptions::Cover(std::wstring_view fileName) const {
  std::lock_guard<std::mutex> lock(mutex_);
  return std::any_of(names_.begin(), names_.end(),
                     [&](const std::wstring& excepted) { return rt::SameFileName(excepted, fileName); });
}
