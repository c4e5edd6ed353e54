// Whether input we inject can reach a window: Windows drops injected input aimed at a
// window of a process running at a higher integrity level than ours (an administrator's
// program while we are not), without telling the sender.
#pragma once
#include <windows.h>

#include <array>
#include <mutex>
#include <optional>

namespace win32 {

// The mandatory integrity level (a SECURITY_MANDATORY_*_RID) of a process, if it can be read.
std::optional<DWORD> IntegrityLevelOf(HANDLE process);
std::optional<DWORD> IntegrityLevelOfProcess(DWORD processId);

// False only when the window is known to belong to a higher level than ours (read once by
// the caller, none when it could not be); when a level cannot be read we try, as we always
// did. No allocation: the hook asks this.
bool InjectedInputReaches(HWND window, std::optional<DWORD> ourLevel);
bool InjectedInputReachesProcess(DWORD processId, std::optional<DWORD> ourLevel);

// A program's integrity level is fixed for its life, so the hook reads a program's token once
// and remembers the answer for the few programs last clicked in. An answer is known by the
// process and the window's thread together: a process id alone may come back for another
// program. Safe from more than one hook's thread.
class ReachMemory {
 public:
  // `ask` answers for a process the memory does not know; it is called outside no lock of
  // ours that the window's thread could wait on.
  template <typename Ask>
  bool Reaches(DWORD processId, DWORD threadId, Ask&& ask) {
    {
      std::lock_guard<std::mutex> lock(mutex_);
      for (const Answer& answer : answers_)
        if (answer.processId == processId && answer.threadId == threadId) return answer.reaches;
    }
    const bool reaches = ask(processId);
    std::lock_guard<std::mutex> lock(mutex_);
    answers_[next_] = Answer{processId, threadId, reaches};
    next_ = (next_ + 1) % answers_.size();
    return reaches;
  }

 private:
  struct Answer {
    DWORD processId = 0;
    DWORD threadId = 0;
    bool reaches = true;
  };
  std::mutex mutex_;
  std::array<Answer, 8> answers_{};
  std::size_t next_ = 0;
};

}  // namespace win32
