// The one way program code runs from a Windows callback (hook procedures, window procedures,
// posted tasks): no C++ exception may unwind through Windows' own frames, so a failure that
// gets this far is told to the program's failure sink and then the process ends.
#pragma once
#include <exception>
#include <functional>
#include <stdexcept>
#include <type_traits>
#include <utility>

#include "runtime/UnhandledFailure.h"

namespace win32 {

// Reports a failure that escaped every handler of the program, then ends the process.
// A second failure raised while the first is being reported (the report's message box
// pumps messages, so callbacks go on) ends the process without another report.
void EndAfterUnhandledFailure(rt::UnhandledFailureSink& sink, const std::exception& failure) noexcept;

// Once the program has asked to end, callbacks stop running its code: the windows being
// torn down on the way out get their default handling only.
void MarkProgramEnding() noexcept;
bool ProgramEnding() noexcept;

// Runs body and returns its result. fallback supplies the result when the program is ending
// (body is then not run) or when body failed and the process could not end (only in tests).
template <typename Body, typename Fallback>
auto Guarded(rt::UnhandledFailureSink& sink, Body&& body, Fallback&& fallback) noexcept -> std::invoke_result_t<Body&> {
  if (ProgramEnding()) return std::forward<Fallback>(fallback)();
  try {
    return std::forward<Body>(body)();
  } catch (const std::exception& failure) {
    EndAfterUnhandledFailure(sink, failure);
  } catch (...) {
    EndAfterUnhandledFailure(sink, std::runtime_error("An unknown failure occurred."));
  }
  return std::forward<Fallback>(fallback)();
}

// For callbacks without a result.
template <typename Body>
void Guarded(rt::UnhandledFailureSink& sink, Body&& body) noexcept {
  Guarded(sink, std::forward<Body>(body), [] {});
}

// How the process ends after a reported failure. Tests put a recorder in place for the
// lifetime of one of these; everywhere else it is ExitProcess.
class ScopedFailureEnding {
 public:
  explicit ScopedFailureEnding(std::function<void()> ending);
  ScopedFailureEnding(const ScopedFailureEnding&) = delete;
  ScopedFailureEnding& operator=(const ScopedFailureEnding&) = delete;
  ~ScopedFailureEnding();

 private:
  std::function<void()> previous_;
};

// Clears the ending mark and the reporting state; for tests only.
void ResetFailureHandlingForTesting() noexcept;

}  // namespace win32
