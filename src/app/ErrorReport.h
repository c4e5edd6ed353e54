// The uniform error handler of the main window's four larger event procedures: a failing
// numbered statement is reported in the "Application Error" box and the procedure goes on
// with the next statement; a failing condition enters the block it guards.
#pragma once
#include <functional>
#include <string>

#include "runtime/Dialogs.h"
#include "runtime/NumberedSteps.h"
#include "runtime/Texts.h"

class NumberedStatements final : public rt::NumberedSteps {
 public:
  // procedure: the event procedure's name, as the report's location label gives it.
  NumberedStatements(rt::Dialogs& dialogs, const rt::Texts& texts, const std::wstring& procedure)
      : dialogs_(dialogs), texts_(texts), label_(LocationLabel(procedure)) {}

  void Run(int number, const std::function<void()>& statement) override;
  bool Test(int number, const std::function<bool()>& condition) override;

  // "in Vornix2021/08/31.Form1.<procedure> ", the place a report names.
  static std::wstring LocationLabel(const std::wstring& procedure);
  static std::wstring ReportText(const rt::Texts& texts, const std::wstring& description, const std::wstring& label,
                                 int number);

 private:
  void Report(const std::wstring& description, int number);
  rt::Dialogs& dialogs_;
  const rt::Texts& texts_;
  std::wstring label_;
};
