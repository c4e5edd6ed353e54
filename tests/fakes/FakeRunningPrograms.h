// Programs with windows on the fake desktop: a list to pick from, and the names of the
// programs (by process id, as the fake mouse's look at a window tells it; by default
// none), counting how often the hook asked.
#pragma once
#include <algorithm>
#include <atomic>
#include <map>
#include <string>
#include <vector>

#include "fakes/HeapCount.h"
#include "runtime/RunningPrograms.h"

namespace fake {

class FakeRunningPrograms : public rt::RunningPrograms {
 public:
  std::vector<std::wstring> WithOpenWindows() override { return openWindows; }
  std::size_t FileNameOf(std::uint32_t program, std::span<wchar_t> buffer) noexcept override {
    const HeapCount::Pause ours;
    ++asked;
    const auto named = names.find(program);
    const std::wstring name = named != names.end() ? named->second : std::wstring();
    if (name.size() > buffer.size()) return 0;
    std::copy(name.begin(), name.end(), buffer.begin());
    return name.size();
  }

  std::vector<std::wstring> openWindows;
  std::map<std::uint32_t, std::wstring> names;
  std::atomic<int> asked{0};
};

}  // namespace fake
