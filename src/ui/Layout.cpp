#include "ui/Layout.h"

#include <cwchar>
#include <stdexcept>

#include "runtime/LanguageFont.h"

namespace layout {

rt::Font WindowFont(rt::Language language) { return rt::InLanguage(kWindowFont, language); }

rt::Font ButtonFont(rt::Language language) { return rt::InLanguage(kButtonFont, language); }

const ControlDesign& Find(const wchar_t* name) {
  for (const auto& design : kControls)
    if (std::wcscmp(design.name, name) == 0) return design;
  throw std::logic_error("control missing from the layout");
}

}  // namespace layout
