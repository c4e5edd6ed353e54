// Which of the languages Vornatic speaks the user gets: the first of Windows' user interface
// languages, in the user's order, that it has a translation for; English when none.
#pragma once
#include <string>
#include <vector>

#include "runtime/TextIds.h"

namespace rt {

// userLanguages: language tags as Windows names them ("de-DE", "pt-BR", "zh-Hans-CN"),
// the user's first choice first.
Language ChooseLanguage(const std::vector<std::wstring>& userLanguages);

// The tag the catalogue files and the resources know the language by ("de", "pt-BR").
const wchar_t* LanguageTag(Language language);

}  // namespace rt
