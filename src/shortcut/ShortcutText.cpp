#include "shortcut/ShortcutText.h"

#include <cwctype>
#include <vector>

#include "runtime/Text.h"

namespace shortcut_text {
namespace {

constexpr std::uint32_t kF1 = 0x70;

std::wstring Trimmed(const std::wstring& text) {
  const auto first = text.find_first_not_of(L" \t");
  if (first == std::wstring::npos) return L"";
  const auto last = text.find_last_not_of(L" \t");
  return text.substr(first, last - first + 1);
}

std::vector<std::wstring> Parts(const std::wstring& text) {
  std::vector<std::wstring> parts;
  std::size_t start = 0;
  for (;;) {
    const auto plus = text.find(L'+', start);
    parts.push_back(rt::AsciiLower(Trimmed(text.substr(start, plus - start))));
    if (plus == std::wstring::npos) return parts;
    start = plus + 1;
  }
}

std::optional<std::uint32_t> KeyCode(const std::wstring& key) {
  if (key.size() == 1 && key[0] >= L'a' && key[0] <= L'z') return static_cast<std::uint32_t>(key[0] - L'a' + 'A');
  if (key.size() == 1 && key[0] >= L'0' && key[0] <= L'9') return static_cast<std::uint32_t>(key[0]);
  if (key.size() >= 2 && key.size() <= 3 && key[0] == L'f') {
    int number = 0;
    for (std::size_t i = 1; i < key.size(); ++i) {
      if (!std::iswdigit(key[i])) return std::nullopt;
      number = number * 10 + (key[i] - L'0');
    }
    if (number >= 1 && number <= 24) return kF1 + static_cast<std::uint32_t>(number - 1);
  }
  return std::nullopt;
}

}  // namespace

Parsed Parse(const std::wstring& text) {
  if (rt::EqualsIgnoringAsciiCase(Trimmed(text), kNone)) return {true, std::nullopt};
  const std::vector<std::wstring> parts = Parts(text);
  rt::Shortcut shortcut;
  for (std::size_t i = 0; i + 1 < parts.size(); ++i) {
    bool* modifier = parts[i] == L"win"     ? &shortcut.win
                     : parts[i] == L"ctrl"  ? &shortcut.ctrl
                     : parts[i] == L"alt"   ? &shortcut.alt
                     : parts[i] == L"shift" ? &shortcut.shift
                                            : nullptr;
    if (modifier == nullptr || *modifier) return {};
    *modifier = true;
  }
  const std::optional<std::uint32_t> key = KeyCode(parts.back());
  if (!key || parts.size() < 2) return {};
  shortcut.key = *key;
  return {true, shortcut};
}

namespace {

std::wstring Joined(const rt::Shortcut& shortcut, const std::wstring& win, const std::wstring& ctrl,
                    const std::wstring& alt, const std::wstring& shift) {
  std::wstring text;
  if (shortcut.win) text += win + L"+";
  if (shortcut.ctrl) text += ctrl + L"+";
  if (shortcut.alt) text += alt + L"+";
  if (shortcut.shift) text += shift + L"+";
  if (shortcut.key >= kF1 && shortcut.key < kF1 + 24)
    text += L"F" + std::to_wstring(shortcut.key - kF1 + 1);
  else
    text += static_cast<wchar_t>(shortcut.key);
  return text;
}

}  // namespace

std::wstring Describe(const rt::Shortcut& shortcut) { return Joined(shortcut, L"Win", L"Ctrl", L"Alt", L"Shift"); }

std::wstring Describe(const rt::Shortcut& shortcut, const rt::Texts& texts) {
  return Joined(shortcut, texts(rt::TextId::KeyWin), texts(rt::TextId::KeyCtrl), texts(rt::TextId::KeyAlt),
                texts(rt::TextId::KeyShift));
}

}  // namespace shortcut_text
