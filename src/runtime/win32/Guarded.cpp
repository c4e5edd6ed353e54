#include "runtime/win32/Guarded.h"

#include <windows.h>

namespace win32 {
namespace {

// Process-wide by nature: the callbacks that consult it are plain functions Windows calls.
struct FailureHandlingState {
  bool ending = false;
  bool reporting = false;
  std::function<void()> testEnding;
};

FailureHandlingState& State() {
  static FailureHandlingState state;
  return state;
}

[[noreturn]] void ExitAfterFailure() noexcept { ::ExitProcess(1); }

}  // namespace

void EndAfterUnhandledFailure(rt::UnhandledFailureSink& sink, const std::exception& failure) noexcept {
  FailureHandlingState& state = State();
  if (!state.reporting) {
    state.reporting = true;
    sink.OnUnhandledFailure(failure);
  }
  // From here on no program code runs from a callback, whatever happens next.
  state.ending = true;
  if (!state.testEnding) ExitAfterFailure();
  try {
    state.testEnding();
  } catch (...) {
    ExitAfterFailure();
  }
}

void MarkProgramEnding() noexcept { State().ending = true; }
bool ProgramEnding() noexcept { return State().ending; }

ScopedFailureEnding::ScopedFailureEnding(std::function<void()> ending)
    : previous_(std::exchange(State().testEnding, std::move(ending))) {}

ScopedFailureEnding::~ScopedFailureEnding() { State().testEnding = std::move(previous_); }

void ResetFailureHandlingForTesting() noexcept {
  State().ending = false;
  State().reporting = false;
}

}  // namespace win32
