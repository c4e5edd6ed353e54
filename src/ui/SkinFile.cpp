#include "ui/SkinFile.h"

#include <string_view>

#include "ui/TextDecoding.h"

namespace skin {

namespace {

using Text = std::u32string_view;

// Windows' DEFAULT_CHARSET: the system picks the character set the face supports.
constexpr int kDefaultCharset = 1;

bool IsBlank(char32_t c) { return c == U' ' || c == U'\t'; }

Text Trim(Text s) {
  while (!s.empty() && IsBlank(s.front())) s.remove_prefix(1);
  while (!s.empty() && IsBlank(s.back())) s.remove_suffix(1);
  return s;
}

// Compares with a lower-case ASCII word, ignoring the case of ASCII letters in s.
bool Is(Text s, std::string_view word) {
  if (s.size() != word.size()) return false;
  for (std::size_t i = 0; i < s.size(); ++i) {
    char32_t c = s[i];
    if (c >= U'A' && c <= U'Z') c = c - U'A' + U'a';
    if (c != static_cast<unsigned char>(word[i])) return false;
  }
  return true;
}

std::optional<unsigned> DigitValue(char32_t c) {
  if (c >= U'0' && c <= U'9') return static_cast<unsigned>(c - U'0');
  return std::nullopt;
}

std::optional<unsigned> HexValue(char32_t c) {
  if (auto d = DigitValue(c)) return d;
  if (c >= U'a' && c <= U'f') return static_cast<unsigned>(c - U'a' + 10);
  if (c >= U'A' && c <= U'F') return static_cast<unsigned>(c - U'A' + 10);
  return std::nullopt;
}

// "#RRGGBB".
std::optional<rt::OleColor> ParseColor(Text v) {
  if (v.size() != 7 || v[0] != U'#') return std::nullopt;
  unsigned channels[3];
  for (int i = 0; i < 3; ++i) {
    const auto high = HexValue(v[1 + 2 * i]);
    const auto low = HexValue(v[2 + 2 * i]);
    if (!high || !low) return std::nullopt;
    channels[i] = *high * 16 + *low;
  }
  return rt::Rgb(static_cast<int>(channels[0]), static_cast<int>(channels[1]), static_cast<int>(channels[2]));
}

// A whole number of at most three digits, no sign.
std::optional<int> ParseSmallNumber(Text v) {
  if (v.empty() || v.size() > 3) return std::nullopt;
  int n = 0;
  for (char32_t c : v) {
    const auto d = DigitValue(c);
    if (!d) return std::nullopt;
    n = n * 10 + static_cast<int>(*d);
  }
  return n;
}

// "11" or "11.25": up to two digits each side of the point, read without the locale.
std::optional<double> ParsePoints(Text v) {
  const auto point = v.find(U'.');
  const Text whole = v.substr(0, point);
  const Text fraction = point == Text::npos ? Text() : v.substr(point + 1);
  if (whole.empty() || whole.size() > 2 || fraction.size() > 2) return std::nullopt;
  if (point != Text::npos && fraction.empty()) return std::nullopt;
  const auto wholeValue = ParseSmallNumber(whole);
  if (!wholeValue) return std::nullopt;
  int hundredths = 0;
  if (!fraction.empty()) {
    const auto f = ParseSmallNumber(fraction);
    if (!f) return std::nullopt;
    hundredths = fraction.size() == 1 ? *f * 10 : *f;
  }
  const double points = *wholeValue + hundredths / 100.0;
  if (points < kMinFontPoints || points > kMaxFontPoints) return std::nullopt;
  return points;
}

// "Face name, points[, bold | regular][, character set]".
std::optional<rt::Font> ParseFont(Text v) {
  Text fields[4];
  std::size_t count = 0;
  for (;;) {
    const auto comma = v.find(U',');
    if (count == 4) return std::nullopt;
    fields[count++] = Trim(v.substr(0, comma));
    if (comma == Text::npos) break;
    v.remove_prefix(comma + 1);
  }
  if (count < 2 || fields[0].empty() || fields[0].size() > kMaxFontNameLength) return std::nullopt;
  rt::Font font;
  font.name = text::ToWide(fields[0]);
  font.charset = kDefaultCharset;
  const auto points = ParsePoints(fields[1]);
  if (!points) return std::nullopt;
  font.points = *points;
  if (count >= 3) {
    if (Is(fields[2], "bold"))
      font.bold = true;
    else if (!Is(fields[2], "regular"))
      return std::nullopt;
  }
  if (count == 4) {
    const auto charset = ParseSmallNumber(fields[3]);
    if (!charset || *charset > 255) return std::nullopt;
    font.charset = *charset;
  }
  return font;
}

enum class Section { None, Skin, Window, Controls, Button };

class Reader {
 public:
  // One line, without its line break; false when it is not a line of a skin.
  bool Line(Text line) {
    if (line.size() > kMaxLineLength) return false;
    line = Trim(line);
    if (line.empty() || line.front() == U';' || line.front() == U'#') return true;
    line = Trim(line.substr(0, line.find(U';')));  // the rest of the line is a comment
    if (line.front() == U'[') return SectionLine(line);
    const auto equals = line.find(U'=');
    if (equals == Text::npos) return false;
    return Entry(Trim(line.substr(0, equals)), Trim(line.substr(equals + 1)));
  }

  // A skin must say which format it is in and give the two colours it is about.
  std::optional<Skin> Result() const {
    if (!format_ || !windowBackground_ || !buttonFace_) return std::nullopt;
    Skin skin = skin_;
    skin.window.background = *windowBackground_;
    skin.button.face = *buttonFace_;
    return skin;
  }

 private:
  bool SectionLine(Text line) {
    if (line.back() != U']') return false;
    const Text name = Trim(line.substr(1, line.size() - 2));
    if (Is(name, "skin"))
      section_ = Section::Skin;
    else if (Is(name, "window"))
      section_ = Section::Window;
    else if (Is(name, "controls"))
      section_ = Section::Controls;
    else if (Is(name, "button"))
      section_ = Section::Button;
    else
      return false;
    return true;
  }

  static bool SetColor(std::optional<rt::OleColor>& field, Text value) {
    const auto color = ParseColor(value);
    if (color) field = *color;
    return color.has_value();
  }
  static bool SetFont(std::optional<rt::Font>& field, Text value) {
    auto font = ParseFont(value);
    if (font) field = std::move(*font);
    return font.has_value();
  }

  bool Entry(Text key, Text value) {
    switch (section_) {
      case Section::None:
        return false;
      case Section::Skin:
        if (Is(key, "format")) {
          format_ = Is(value, "1");
          return format_;
        }
        if (Is(key, "name")) {
          skin_.name = text::ToWide(value);
          return true;
        }
        return false;
      case Section::Window:
        if (Is(key, "background")) return SetColor(windowBackground_, value);
        if (Is(key, "text")) return SetColor(skin_.window.text, value);
        if (Is(key, "font")) return SetFont(skin_.window.font, value);
        return false;
      case Section::Controls:
        if (Is(key, "background")) return SetColor(skin_.controls.background, value);
        if (Is(key, "text")) return SetColor(skin_.controls.text, value);
        return false;
      case Section::Button:
        if (Is(key, "face")) return SetColor(buttonFace_, value);
        if (Is(key, "text")) return SetColor(skin_.button.text, value);
        if (Is(key, "hover")) return SetColor(skin_.button.hover, value);
        if (Is(key, "pressed")) return SetColor(skin_.button.pressed, value);
        if (Is(key, "border")) return SetColor(skin_.button.border, value);
        if (Is(key, "focus")) return SetColor(skin_.button.focus, value);
        if (Is(key, "font")) return SetFont(skin_.button.font, value);
        return false;
    }
    return false;
  }

  Section section_ = Section::None;
  Skin skin_;
  bool format_ = false;
  // Kept apart while reading so that Result can tell "given" from "left out".
  std::optional<rt::OleColor> windowBackground_;
  std::optional<rt::OleColor> buttonFace_;
};

}  // namespace

std::optional<Skin> ParseSkin(const std::uint8_t* data, std::size_t size) {
  if (data == nullptr || size == 0 || size > kMaxFileBytes) return std::nullopt;
  const auto decoded = text::DecodeText(data, size);
  if (!decoded) return std::nullopt;
  const Text all = *decoded;

  Reader reader;
  std::size_t start = 0;
  while (start <= all.size()) {
    std::size_t end = start;
    while (end < all.size() && all[end] != U'\n' && all[end] != U'\r') ++end;
    if (!reader.Line(all.substr(start, end - start))) return std::nullopt;
    if (end < all.size() && all[end] == U'\r' && end + 1 < all.size() && all[end + 1] == U'\n') ++end;
    start = end + 1;
  }
  return reader.Result();
}

}  // namespace skin
