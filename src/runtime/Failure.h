// The program's failures: exceptions that carry the description a report shows.
#pragma once
#include <exception>
#include <string>

namespace rt {

class Failure : public std::exception {
 public:
  explicit Failure(std::wstring description) : description_(std::move(description)) {}
  const std::wstring& Description() const noexcept { return description_; }
  const char* what() const noexcept override { return "Vornatic failure"; }

 private:
  std::wstring description_;
};

// Thrown by Application::EndProgram in environments where the process cannot simply
// vanish (the unit tests). Deliberately not a std::exception, so no failure handler of
// the program ever catches it: ending the program is not a failure.
struct ProgramEnded {};

// Best-effort widening of a narrow what() text for reports.
std::wstring DescribeException(const std::exception& e);

}  // namespace rt
