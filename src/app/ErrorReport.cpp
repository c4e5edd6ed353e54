#include "app/ErrorReport.h"

#include "app/Product.h"
#include "runtime/Failure.h"

std::wstring NumberedStatements::LocationLabel(const std::wstring& procedure) {
  return L"in Vornix2021/08/31.Form1." + procedure + L" ";
}

std::wstring NumberedStatements::ReportText(const std::wstring& description, const std::wstring& label, int number) {
  return description + L"\r\n" + label + L"at line " + std::to_wstring(number) + L"\r\r" +
         L"Please email screenshot of this message to " + product::kSupportEmail;
}

void NumberedStatements::Report(const std::wstring& description, int number) {
  dialogs_.MessageBox(ReportText(description, label_, number), rt::mb::kOkOnly | rt::mb::kExclamation, kErrorBoxTitle);
}

void NumberedStatements::Run(int number, const std::function<void()>& statement) {
  try {
    statement();
  } catch (const std::exception& e) {
    Report(rt::DescribeException(e), number);
  }
}

bool NumberedStatements::Test(int number, const std::function<bool()>& condition) {
  try {
    return condition();
  } catch (const std::exception& e) {
    Report(rt::DescribeException(e), number);
    return true;
  }
}
