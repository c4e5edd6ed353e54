// The catalogue in the executable's resources: every language serves exactly the texts the
// catalogue files give it, in full Unicode, and nothing where a language has no translation,
// so that English stands in for that text alone.
#include <gtest/gtest.h>
#include <windows.h>

#include "runtime/Texts.h"
#include "runtime/win32/Win32TextSource.h"

namespace fake {
extern const wchar_t* const kCatalogue[rt::kLanguageCount][rt::kTextCount + 1];
}

namespace {

TEST(TextSourceTest, EveryLanguageServesItsCatalogueTextByText) {
  const win32::Win32TextSource source(::GetModuleHandleW(nullptr));
  for (unsigned language = 0; language < rt::kLanguageCount; ++language) {
    for (unsigned id = 1; id <= rt::kTextCount; ++id) {
      const auto served = source.Find(static_cast<rt::Language>(language), static_cast<rt::TextId>(id));
      const wchar_t* expected = fake::kCatalogue[language][id];
      if (expected == nullptr)
        EXPECT_FALSE(served) << "language " << language << " text " << id;
      else
        EXPECT_EQ(served.value_or(L"(nothing)"), expected) << "language " << language << " text " << id;
    }
  }
  const rt::Texts japanese(source, rt::Language::Japanese);
  EXPECT_EQ(japanese(rt::TextId::StartAutodrag), L"\u81EA\u52D5\u30C9\u30E9\u30C3\u30B0\u3092\u958B\u59CB");
}

}  // namespace
