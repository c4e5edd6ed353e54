// The seam the program asks for every text the user meets: by identifier, in the user's
// language, with English standing in for a text that language has no translation of. The
// texts themselves live in the catalogue (res/lang), never in the code.
#pragma once
#include <functional>
#include <initializer_list>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

#include "runtime/TextIds.h"

namespace rt {

// Where the translations are kept: the executable's string tables, or the unit tests' copy.
class TextSource {
 public:
  virtual ~TextSource() = default;
  // Nothing where that language has no translation of the text.
  virtual std::optional<std::wstring> Find(Language language, TextId id) const = 0;
};

// A placeholder's name, without its braces, and what goes in its place.
using Placeholder = std::pair<std::wstring_view, std::wstring_view>;

class Texts {
 public:
  Texts(const TextSource& source, Language language) : source_(source), language_(language) {}

  Language CurrentLanguage() const { return language_; }
  void SetLanguage(Language language) { language_ = language; }

  std::wstring operator()(TextId id) const;
  // The text with each {name} replaced by its value; the values are taken as they are.
  std::wstring Format(TextId id, std::initializer_list<Placeholder> values) const;

  // A whole number as the user's Windows writes numbers ("1.200" in Germany); plain digits
  // until the platform says how.
  std::wstring Integer(long long number) const { return integer_ ? integer_(number) : std::to_wstring(number); }
  void SetIntegerFormat(std::function<std::wstring(long long)> format) { integer_ = std::move(format); }

 private:
  const TextSource& source_;
  Language language_;
  std::function<std::wstring(long long)> integer_;
};

// {name} by name, in one pass: a value that happens to contain braces stays as it is.
std::wstring FillPlaceholders(std::wstring_view pattern, std::initializer_list<Placeholder> values);

}  // namespace rt
