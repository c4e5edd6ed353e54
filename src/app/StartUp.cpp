// PLACEHOLDER until the start-up sequence lands: dresses the window just enough to run.
#include "app/Form1.h"
#include "app/Product.h"

void Form1::Form_Load() {
  Me.SetCaption(product::kDisplayName);
  cSysTray1.SetTrayTip(product::kDisplayName);
  cSysTray1.SetInTray(true);
}
void Form1::ApplySkin() {}
bool Form1::FileExists(const std::wstring&) { return false; }
void Form1::VisitHomePage() {}
