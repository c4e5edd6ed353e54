#include "autodrag/LatchExceptions.h"

#include <algorithm>
#include <utility>

#include "runtime/Text.h"

namespace {

std::wstring Folded(std::wstring_view name) {
  std::wstring folded(name);
  for (wchar_t& c : folded) c = rt::FoldFileNameCase(c);
  return folded;
}

}  // namespace

void LatchExceptions::Set(const std::vector<std::wstring>& fileNames) {
  std::vector<std::wstring> folded;
  for (const std::wstring& name : fileNames)
    if (!name.empty()) folded.push_back(Folded(name));
  {
    std::lock_guard<std::mutex> lock(mutex_);
    folded_.swap(folded);
    count_ = folded_.size();
  }
  // The old list goes here, outside the lock.
}

bool LatchExceptions::CoverWindowAt(rt::RunningPrograms& programs, rt::ScreenPoint point) const {
  if (!Any()) return false;
  std::array<wchar_t, rt::RunningPrograms::kLongestFileName> name;
  const std::size_t length = programs.FileNameAt(point, name);
  return length > 0 && length <= name.size() && Cover(std::wstring_view(name.data(), length));
}

bool LatchExceptions::Cover(std::wstring_view fileName) const {
  std::lock_guard<std::mutex> lock(mutex_);
  return std::any_of(folded_.begin(), folded_.end(), [&](const std::wstring& excepted) {
    return excepted.size() == fileName.size() &&
           std::equal(excepted.begin(), excepted.end(), fileName.begin(),
                      [](wchar_t a, wchar_t b) { return a == rt::FoldFileNameCase(b); });
  });
}
