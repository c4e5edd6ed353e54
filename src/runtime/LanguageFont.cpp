#include "runtime/LanguageFont.h"

namespace rt {
namespace {
constexpr int kShiftJisCharset = 128;
constexpr int kGb2312Charset = 134;
}  // namespace

Font InLanguage(const Font& design, Language language) {
  Font font = design;
  if (language == Language::Japanese) {
    font.name = L"Yu Gothic UI";
    font.charset = kShiftJisCharset;
  } else if (language == Language::ChineseSimplified) {
    font.name = L"Microsoft YaHei UI";
    font.charset = kGb2312Charset;
  }
  return font;
}

}  // namespace rt
