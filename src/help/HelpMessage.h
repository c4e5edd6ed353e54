// The Help button tells the user whom to ask; it opens nothing and changes nothing.
#pragma once
#include <string>

#include "runtime/Dialogs.h"
#include "runtime/NumberedSteps.h"
#include "runtime/Texts.h"

class HelpMessage {
 public:
  static constexpr const wchar_t* kContactPage = L"https://www.kestrova.example/contact/";

  HelpMessage(rt::Dialogs& dialogs, const rt::Texts& texts, const std::wstring& title)
      : dialogs_(dialogs), texts_(texts), title_(title) {}

  void Show(rt::NumberedSteps& steps);
  std::wstring Text() const;

 private:
  rt::Dialogs& dialogs_;
  const rt::Texts& texts_;
  // The application title, which start-up may still change.
  const std::wstring& title_;
};
