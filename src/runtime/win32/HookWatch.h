// Notices when Windows has taken our low-level hook away, or passed input by it: Windows
// does so, without a word, to a hook that keeps the desktop waiting. Raw input reaches us
// whatever happens to hooks, so every button event that raw input reports and the hook
// never saw within 0.8 s is a missed one, noticed within a second.
#pragma once
#include <windows.h>

#include <atomic>
#include <cstdint>
#include <deque>
#include <optional>
#include <functional>

#include "runtime/win32/Handles.h"

namespace win32 {

class HookWatch {
 public:
  static constexpr UINT kGraceMs = 800;

  explicit HookWatch(HINSTANCE instance);
  HookWatch(const HookWatch&) = delete;
  HookWatch& operator=(const HookWatch&) = delete;
  ~HookWatch() { StopWatching(); }

  // Called on the window's thread when the hook missed a button event.
  void SetMissedHandler(std::function<void()> handler) { onMissed_ = std::move(handler); }
  // Starts watching; Watching() then says whether Windows let us (raw input may be refused).
  void Watch();
  void StopWatching();
  bool Watching() const { return watching_; }
  // From the hook's thread, for every button event the hook is called for.
  void HookSawButton() { hookButtons_.fetch_add(1, std::memory_order_relaxed); }

  // The device's buttons held down (1 left, 2 right, 4 middle) as raw input last reported
  // them, after the reports still queued; none while not watching. Raw input sees the
  // device itself, whatever a hook swallows, but nothing of another desktop's input.
  std::optional<std::uint8_t> ButtonsDown();

  // How many button transitions (presses and releases) one raw mouse report carries.
  static unsigned ButtonEventsIn(const RAWMOUSE& report);
  // The buttons held after a report, from those held before it.
  static std::uint8_t ButtonsAfter(std::uint8_t before, const RAWMOUSE& report);

 private:
  void OnRawInput(HRAWINPUT input);
  void Check();
  // The timer for the grace of the oldest raw button event the hook has yet to be held to.
  void ScheduleCheck();
  static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

  UniqueWindow window_;
  bool watching_ = false;
  bool checkPending_ = false;
  // When each raw button event not yet checked came, on the tick count.
  std::deque<ULONGLONG> rawButtons_;
  std::atomic<unsigned> hookButtons_{0};
  std::uint8_t buttonsDown_ = 0;
  std::function<void()> onMissed_;
};

}  // namespace win32
