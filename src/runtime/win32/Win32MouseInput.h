// The desktop-wide low-level mouse hook and injected left-button events.
#pragma once
#include <windows.h>

#include <atomic>
#include <exception>
#include <map>
#include <memory>
#include <mutex>
#include <optional>

#include "runtime/EventPump.h"
#include "runtime/MouseInput.h"
#include "runtime/UnhandledFailure.h"
#include "runtime/win32/Handles.h"
#include "runtime/win32/HookAnswerTimes.h"
#include "runtime/win32/HookThread.h"
#include "runtime/win32/HookWatch.h"
#include "runtime/win32/WindowReach.h"

namespace win32 {

// What the hook procedure is told, from the record Windows passes.
rt::LowLevelMouseEvent ToLowLevelMouseEvent(const MSLLHOOKSTRUCT& record, LPARAM nativeRecord);

class Win32MouseInput : public rt::MouseInput {
 public:
  // Failures inside the hook procedure are reported through the pump, on its thread.
  Win32MouseInput(HINSTANCE instance, rt::UnhandledFailureSink& failures, rt::EventPump& pump);
  Win32MouseInput(const Win32MouseInput&) = delete;
  Win32MouseInput& operator=(const Win32MouseInput&) = delete;
  ~Win32MouseInput() override;

  rt::HookHandle SetLowLevelHook(rt::MouseHookProcedure procedure) override;
  bool Unhook(rt::HookHandle handle) override;
  std::intptr_t CallNextHook(rt::HookHandle handle, int code, std::uintptr_t message,
                             const rt::LowLevelMouseEvent& event) override;
  std::size_t Inject(const std::vector<rt::MouseEventToInject>& events, std::uintptr_t extraInfo) override;
  unsigned DoubleClickTimeMs() override;
  rt::ScreenSize DoubleClickArea() override;
  bool ButtonsSwapped() override;
  rt::WindowAtPoint LookAt(rt::ScreenPoint point, bool askReach) override;
  void SetHookLostHandler(std::function<void()> handler) override { watch_.SetMissedHandler(std::move(handler)); }
  bool DeviceButtonDown(std::uint32_t upMessage) override;
  std::optional<rt::DeviceButtons> HandButtons() override;
  rt::ScreenPoint CursorPosition() override;
  std::optional<rt::ScreenPoint> LastPointNotTagged(std::uintptr_t tag) override;
  bool HookLossWatched() override { return watch_.Watching(); }
  void NoteKeptDown(std::uint8_t buttons) noexcept override;

  // For a crash that nothing else caught: removes the hook and lets go of exactly the
  // buttons we keep down, so the desktop is not left with a button down and no program to
  // lift it, and a button the user holds themselves is left alone.
  static void LetGoOnTheWayOut() noexcept;

 private:
  static LRESULT CALLBACK HookTrampoline(int code, WPARAM wParam, LPARAM lParam);
  // On the hook's thread: keeps the failure for the window's thread and rings for it.
  void HandOver(std::exception_ptr failure) noexcept;
  void ReportHandedOver();

  HINSTANCE instance_;
  rt::UnhandledFailureSink& failures_;
  rt::MouseHookProcedure procedure_;
  // Hooks still installed, each on a thread of its own, removed with this object at the latest.
  std::map<HHOOK, std::unique_ptr<HookThread>> hooks_;
  HookWatch watch_;
  HookAnswerTimes answerTimes_;
  // Read once: they do not change while we run, and the hook must not read a token per event.
  DWORD ownProcess_;
  std::optional<DWORD> ownLevel_;
  ReachMemory reach_;
  std::mutex failureMutex_;
  std::exception_ptr hookFailure_;
  std::unique_ptr<rt::Doorbell> failureBell_;
};

}  // namespace win32
