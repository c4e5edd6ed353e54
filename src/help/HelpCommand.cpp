// The Help button tells the user whom to ask; it opens nothing and changes nothing.
#include <string>

#include "app/ErrorReport.h"
#include "app/Form1.h"
#include "app/Product.h"

namespace {
constexpr const wchar_t* kLabel = L"in Vornix2021/08/31.Form1.PushButton1_Click ";
}

void Form1::PushButton1_Click() {
  NumberedStatements s(platform_.dialogs, kLabel);
  s.Run(100, [&] {
    platform_.dialogs.MessageBox(std::wstring(L"Questions? Please contact Team Kestrova at ") + product::kContactPage,
                                 rt::mb::kOkOnly, globals_.AppTitle);
  });
}
