#include "runtime/Texts.h"

#include "runtime/Failure.h"

namespace rt {

std::wstring Texts::operator()(TextId id) const {
  if (auto text = source_.Find(language_, id)) return std::move(*text);
  if (auto english = source_.Find(Language::English, id)) return std::move(*english);
  // The build puts every English text into the catalogue; this is a build gone wrong.
  throw Failure(L"Text " + std::to_wstring(static_cast<unsigned>(id)) + L" is missing from the program.");
}

std::wstring Texts::Format(TextId id, std::initializer_list<Placeholder> values) const {
  return FillPlaceholders((*this)(id), values);
}

std::wstring FillPlaceholders(std::wstring_view pattern, std::initializer_list<Placeholder> values) {
  std::wstring text;
  text.reserve(pattern.size());
  std::size_t at = 0;
  while (at < pattern.size()) {
    const std::size_t open = pattern.find(L'{', at);
    if (open == std::wstring_view::npos) break;
    const std::size_t close = pattern.find(L'}', open);
    if (close == std::wstring_view::npos) break;
    text.append(pattern, at, open - at);
    const std::wstring_view name = pattern.substr(open + 1, close - open - 1);
    const Placeholder* found = nullptr;
    for (const Placeholder& value : values)
      if (value.first == name) found = &value;
    if (found != nullptr) {
      text.append(found->second);
      at = close + 1;
    } else {
      text += L'{';
      at = open + 1;
    }
  }
  text.append(pattern.substr(at));
  return text;
}

}  // namespace rt
