// Programs with windows on the fake desktop: a list to pick from, and which program owns
// the window at a point (by default none), counting how often the hook asked.
#pragma once
#include <algorithm>
#include <atomic>
#include <functional>
#include <string>
#include <vector>

#include "runtime/RunningPrograms.h"

namespace fake {

class FakeRunningPrograms : public rt::RunningPrograms {
 public:
  std::vector<std::wstring> WithOpenWindows() override { return openWindows; }
  std::size_t FileNameAt(rt::ScreenPoint point, std::span<wchar_t> buffer) noexcept override {
    ++asked;
    const std::wstring name = programAt ? programAt(point) : std::wstring();
    if (name.size() > buffer.size()) return 0;
    std::copy(name.begin(), name.end(), buffer.begin());
    return name.size();
  }

  std::vector<std::wstring> openWindows;
  std::function<std::wstring(rt::ScreenPoint)> programAt;
  std::atomic<int> asked{0};
};

}  // namespace fake
