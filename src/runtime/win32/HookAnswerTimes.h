// How long our hook procedure takes to answer Windows, for the soak's figures. Off unless
// the environment names a file (VORNATIC_HOOK_TIMINGS); then every removal of a hook adds
// a line there: "answers N max_us M p99_us P us" and each answer in microseconds.
#pragma once
#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

namespace win32 {

class HookAnswerTimes {
 public:
  HookAnswerTimes();
  bool Enabled() const { return !file_.empty(); }
  static LONGLONG Now();
  // From the hook's thread only.
  void Record(LONGLONG started, LONGLONG ended);
  // After the hook's thread has ended: writes the line and starts counting afresh.
  void Flush();
  // When a hook went in: "installed_ms T", T on the performance counter in milliseconds.
  void Installed();
  // max and 99th percentile of answers in microseconds; {0, 0} with no answers.
  static std::pair<std::uint32_t, std::uint32_t> Summary(std::vector<std::uint32_t> micros);

 private:
  std::wstring file_;
  LONGLONG frequency_ = 1;
  void Append(const std::string& line);

  std::vector<std::uint32_t> micros_;
};

}  // namespace win32
