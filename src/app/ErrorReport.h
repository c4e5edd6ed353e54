// The uniform error handler of the main window's four larger event procedures: a failing
// numbered statement is reported in the "Application Error" box and the procedure goes on
// with the next statement; a failing condition enters the block it guards.
#pragma once
#include <functional>
#include <string>

#include "runtime/Dialogs.h"

class NumberedStatements {
 public:
  NumberedStatements(rt::Dialogs& dialogs, std::wstring locationLabel)
      : dialogs_(dialogs), label_(std::move(locationLabel)) {}

  // Runs one statement; a failure is reported under its number and swallowed.
  void Run(int number, const std::function<void()>& statement);
  // Evaluates a condition; when it fails the report is shown and the answer is true,
  // so execution enters the guarded block as if the condition held.
  bool Test(int number, const std::function<bool()>& condition);

  static std::wstring ReportText(const std::wstring& description, const std::wstring& label, int number);

 private:
  void Report(const std::wstring& description, int number);
  rt::Dialogs& dialogs_;
  std::wstring label_;
};

inline constexpr const wchar_t* kErrorBoxTitle = L"Application Error";
