#include "help/HelpMessage.h"

std::wstring HelpMessage::Text() { return std::wstring(L"Questions? Please contact Team Kestrova at ") + kContactPage; }

void HelpMessage::Show(rt::NumberedSteps& steps) {
  steps.Run(100, [&] { dialogs_.MessageBox(Text(), rt::mb::kOkOnly, title_); });
}
