#include "fakes/FakeTexts.h"

#include <algorithm>

namespace fake {

// Made from res/lang by the build (CatalogueTables.cpp).
extern const wchar_t* const kCatalogue[rt::kLanguageCount][rt::kTextCount + 1];

std::optional<std::wstring> CatalogueTexts::Find(rt::Language language, rt::TextId id) const {
  const wchar_t* text = kCatalogue[static_cast<unsigned>(language)][static_cast<unsigned>(id)];
  if (text == nullptr) return std::nullopt;
  return std::wstring(text);
}

const rt::Texts& English() {
  static const CatalogueTexts catalogue;
  static const rt::Texts texts(catalogue, rt::Language::English);
  return texts;
}

int FakeTextMetrics::CaptionWidth(rt::ControlKind kind, const std::wstring& caption, const rt::Font&) {
  const auto set = widths.find(caption);
  const int text = set != widths.end() ? set->second : static_cast<int>(caption.size()) * kTwipsPerCharacter;
  const double larger = messageFont.points / 9.0;
  return static_cast<int>((kind == rt::ControlKind::CheckBox ? text + kCheckBoxBeside : text) * larger);
}

int FakeTextMetrics::CaptionHeight(rt::ControlKind kind, const std::wstring& caption, const rt::Font& font, int width) {
  const int whole = CaptionWidth(kind, caption, font);
  const int lines = width > 0 ? (whole + width - 1) / width : 1;
  return static_cast<int>(std::max(lines, 1) * kTwipsPerLine * messageFont.points / 9.0);
}

}  // namespace fake
