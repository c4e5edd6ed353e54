#include "app/ErrorReport.h"

#include "app/Product.h"
#include "runtime/Failure.h"

std::wstring NumberedStatements::LocationLabel(const std::wstring& procedure) {
  return L"in Vornix2021/08/31.Form1." + procedure + L" ";
}

std::wstring NumberedStatements::ReportText(const rt::Texts& texts, const std::wstring& description,
                                            const std::wstring& label, int number) {
  return texts.Format(rt::TextId::ErrorReport, {{L"description", description},
                                                {L"place", label},
                                                {L"line", std::to_wstring(number)},
                                                {L"email", product::kSupportEmail}});
}

void NumberedStatements::Report(const std::wstring& description, int number) {
  dialogs_.MessageBox(ReportText(texts_, description, label_, number), rt::mb::kOkOnly | rt::mb::kExclamation,
                      texts_(rt::TextId::ErrorReportTitle));
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
