#include "runtime/win32/HookAnswerTimes.h"

#include <algorithm>

#include "runtime/win32/Handles.h"

namespace win32 {

HookAnswerTimes::HookAnswerTimes() {
  wchar_t path[MAX_PATH]{};
  const DWORD length = ::GetEnvironmentVariableW(L"VORNATIC_HOOK_TIMINGS", path, MAX_PATH);
  if (length > 0 && length < MAX_PATH) file_.assign(path, length);
  // Room made up front, so that measuring the hook does not make it allocate.
  if (Enabled()) micros_.reserve(1u << 18);
  LARGE_INTEGER frequency{};
  if (::QueryPerformanceFrequency(&frequency) && frequency.QuadPart > 0) frequency_ = frequency.QuadPart;
}

LONGLONG HookAnswerTimes::Now() {
  LARGE_INTEGER now{};
  ::QueryPerformanceCounter(&now);
  return now.QuadPart;
}

void HookAnswerTimes::Record(LONGLONG started, LONGLONG ended) {
  if (!Enabled()) return;
  micros_.push_back(static_cast<std::uint32_t>((ended - started) * 1'000'000 / frequency_));
}

std::pair<std::uint32_t, std::uint32_t> HookAnswerTimes::Summary(std::vector<std::uint32_t> micros) {
  if (micros.empty()) return {0, 0};
  std::sort(micros.begin(), micros.end());
  const std::size_t p99 = (micros.size() * 99 + 99) / 100 - 1;
  return {micros.back(), micros[std::min(p99, micros.size() - 1)]};
}

void HookAnswerTimes::Flush() {
  if (!Enabled()) return;
  const auto [max, p99] = Summary(micros_);
  std::string line = "answers " + std::to_string(micros_.size()) + " max_us " + std::to_string(max) + " p99_us " +
                     std::to_string(p99) + " us";
  for (const std::uint32_t micro : micros_) line += " " + std::to_string(micro);
  line += "\r\n";
  micros_.clear();
  micros_.reserve(1u << 18);
  Append(line);
}

void HookAnswerTimes::Installed() {
  if (!Enabled()) return;
  Append("installed_ms " + std::to_string(static_cast<double>(Now()) * 1000.0 / static_cast<double>(frequency_)) +
         "\r\n");
}

void HookAnswerTimes::Append(const std::string& line) {
  const UniqueKernelHandle file(AdoptFileHandle(::CreateFileW(file_.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ,
                                                              nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr)));
  if (!file) return;
  DWORD written = 0;
  ::WriteFile(file.get(), line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
}

}  // namespace win32
