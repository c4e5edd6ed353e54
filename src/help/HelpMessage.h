// The Help button tells the user whom to ask; it opens nothing and changes nothing.
#pragma once
#include <string>

#include "runtime/Dialogs.h"
#include "runtime/NumberedSteps.h"

class HelpMessage {
 public:
  static constexpr const wchar_t* kContactPage = L"https://www.kestrova.example/contact/";

  HelpMessage(rt::Dialogs& dialogs, const std::wstring& title) : dialogs_(dialogs), title_(title) {}

  void Show(rt::NumberedSteps& steps);
  static std::wstring Text();

 private:
  rt::Dialogs& dialogs_;
  // The application title, which start-up may still change.
  const std::wstring& title_;
};
