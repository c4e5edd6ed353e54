#include "help/HelpMessage.h"

std::wstring HelpMessage::Text() const { return texts_.Format(rt::TextId::HelpMessage, {{L"page", kContactPage}}); }

void HelpMessage::Show(rt::NumberedSteps& steps) {
  steps.Run(100, [&] { dialogs_.MessageBox(Text(), rt::mb::kOkOnly, title_); });
}
