// The user's language: which one Windows' display languages give, the catalogue served in
// it with English standing in text by text, and the window and its words in that language.
#include <gtest/gtest.h>

#include <regex>
#include <set>
#include <string>
#include <vector>

#include "app/Program.h"
#include "fakes/FakePlatform.h"
#include "runtime/Language.h"
#include "runtime/Text.h"
#include "runtime/Texts.h"
#include "shortcut/ShortcutText.h"

namespace {

using rt::Language;

TEST(ChooseLanguage, TakesTheFirstDisplayLanguageVornaticSpeaksAndEnglishOtherwise) {
  const struct {
    std::vector<std::wstring> windows;
    Language chosen;
  } cases[] = {
      {{L"de-DE"}, Language::German},
      {{L"de-AT"}, Language::German},
      {{L"DE_ch"}, Language::German},
      {{L"fr-CA"}, Language::French},
      {{L"es-MX"}, Language::Spanish},
      {{L"it-IT"}, Language::Italian},
      {{L"nl-BE"}, Language::Dutch},
      {{L"pl-PL"}, Language::Polish},
      {{L"ja-JP"}, Language::Japanese},
      {{L"pt-BR"}, Language::PortugueseBrazil},
      // Closer to a Portuguese reader than English is.
      {{L"pt-PT"}, Language::PortugueseBrazil},
      {{L"zh-CN"}, Language::ChineseSimplified},
      {{L"zh-Hans-SG"}, Language::ChineseSimplified},
      // Traditional characters: the user's next choice, or English.
      {{L"zh-TW"}, Language::English},
      {{L"zh-Hant-HK", L"ja-JP"}, Language::Japanese},
      {{L"sv-SE"}, Language::English},
      {{L"sv-SE", L"de-DE"}, Language::German},
      {{L"en-GB", L"de-DE"}, Language::English},
      {{L""}, Language::English},
      {{}, Language::English},
  };
  for (const auto& c : cases) {
    const std::wstring first = c.windows.empty() ? L"(none)" : c.windows.front();
    EXPECT_EQ(rt::ChooseLanguage(c.windows), c.chosen) << std::string(first.begin(), first.end());
  }
}

std::set<std::wstring> PlaceholdersOf(const std::wstring& text) {
  static const std::wregex placeholder(L"\\{[a-z]+\\}");
  std::set<std::wstring> found;
  for (std::wsregex_iterator i(text.begin(), text.end(), placeholder), end; i != end; ++i) found.insert(i->str());
  return found;
}

TEST(Catalogue, EveryLanguageHasEveryTextWithTheEnglishPlaceholders) {
  const fake::CatalogueTexts catalogue;
  for (unsigned l = 0; l < rt::kLanguageCount; ++l) {
    const rt::Texts texts(catalogue, static_cast<Language>(l));
    const std::wstring tag = rt::LanguageTag(static_cast<Language>(l));
    for (unsigned id = 1; id <= rt::kTextCount; ++id) {
      const auto textId = static_cast<rt::TextId>(id);
      const std::wstring text = texts(textId);
      const std::wstring english = fake::English()(textId);
      EXPECT_FALSE(text.empty()) << std::string(tag.begin(), tag.end()) << " text " << id;
      EXPECT_EQ(PlaceholdersOf(text), PlaceholdersOf(english)) << std::string(tag.begin(), tag.end()) << " text " << id;
    }
  }
}

// A catalogue whose German lacks one text.
class GermanWithAHole : public rt::TextSource {
 public:
  std::optional<std::wstring> Find(Language language, rt::TextId id) const override {
    if (language == Language::German && id == rt::TextId::StopAutodrag) return std::nullopt;
    return full_.Find(language, id);
  }

 private:
  fake::CatalogueTexts full_;
};

TEST(Catalogue, ATextMissingInALanguageIsEnglishForThatTextAlone) {
  const GermanWithAHole catalogue;
  const rt::Texts texts(catalogue, Language::German);
  EXPECT_EQ(texts(rt::TextId::StopAutodrag), L"Stop Autodrag");
  EXPECT_EQ(texts(rt::TextId::StartAutodrag), L"Auto-Ziehen starten");
  EXPECT_EQ(texts(rt::TextId::KeyCtrl), L"Strg");
}

TEST(FillPlaceholders, FillsEachByNameInOnePassAndLeavesTheRestAlone) {
  EXPECT_EQ(rt::FillPlaceholders(L"{a} and {b}, {a} again", {{L"a", L"1"}, {L"b", L"2"}}), L"1 and 2, 1 again");
  // A value is never read for placeholders: a failure's text may hold braces.
  EXPECT_EQ(rt::FillPlaceholders(L"{description} at {line}", {{L"description", L"{line}"}, {L"line", L"104"}}),
            L"{line} at 104");
  EXPECT_EQ(rt::FillPlaceholders(L"{unknown} {a", {{L"a", L"1"}}), L"{unknown} {a");
}

TEST(ShortcutText, TheSettingKeepsTheEnglishKeyNamesWhatTheUserReadsHasTheirs) {
  const fake::CatalogueTexts catalogue;
  const rt::Texts german(catalogue, Language::German);
  const rt::Shortcut shortcut = *shortcut_text::Parse(L"Ctrl+Shift+D").shortcut;
  // Stored in German it would no longer read back as a shortcut.
  EXPECT_EQ(shortcut_text::Describe(shortcut), L"Ctrl+Shift+D");
  EXPECT_EQ(shortcut_text::Describe(shortcut, german), L"Strg+Umschalt+D");
}

// The whole program with Windows' display language German.
struct ProgramInGerman : public ::testing::Test {
  fake::FakePlatform fakes;
  const bool german = (fakes.texts.SetLanguage(Language::German), true);
  Program program{fakes.platform};
  Form1& form = program.Window();
};

TEST_F(ProgramInGerman, TheWindowItsStatusAndItsMessagesSpeakGerman) {
  form.cSysTray1Site.SetHandle(0x2001);
  form.Me.SetHandle(0x1001);
  program.Start();
  EXPECT_EQ(form.PushButton2.Caption(), L"Auto-Ziehen starten");
  EXPECT_EQ(form.Frame2.Caption(), L"Startoptionen");
  EXPECT_EQ(form.Check4.Caption(), L"Diese Software beim Windows-Start laden");
  EXPECT_EQ(form.Label1.Caption(), L"Auto-Ziehen ist aus.");
  EXPECT_EQ(form.PushButton1.Caption(), L"Hilfe");

  // Start: the button and the status line speak German, and Stop is understood as Stop.
  fakes.pump.At(1.0, [&] { form.PushButton2.RaiseClick(); });
  fakes.pump.At(2.0, [&] {
    EXPECT_EQ(form.PushButton2.Caption(), L"Auto-Ziehen stoppen");
    EXPECT_EQ(form.Label1.Caption(), L"Auto-Ziehen ist an.");
    form.PushButton2.RaiseClick();
  });
  fakes.pump.RunUntil(3.0);
  EXPECT_EQ(form.PushButton2.Caption(), L"Auto-Ziehen starten");
  EXPECT_EQ(form.Label1.Caption(), L"Auto-Ziehen ist aus.");
  bool balloonInGerman = false;
  for (const auto& call : fakes.tray.calls)
    balloonInGerman |= rt::FromUtf16(call.record.szInfo.data()).starts_with(L"wurde in den Infobereich minimiert.");
  EXPECT_TRUE(balloonInGerman);

  form.PushButton1.RaiseClick();
  ASSERT_FALSE(fakes.dialogs.shown.empty());
  EXPECT_EQ(fakes.dialogs.shown.back().text,
            L"Fragen? Bitte wenden Sie sich an Team Kestrova unter https://www.kestrova.example/contact/");
}

}  // namespace
