#include "autodrag/LatchSetting.h"

#include <cwctype>
#include <optional>
#include <vector>

#include "runtime/Text.h"

namespace latch_setting {
namespace {

std::wstring Trimmed(const std::wstring& text) {
  const auto first = text.find_first_not_of(L" \t");
  if (first == std::wstring::npos) return {};
  return text.substr(first, text.find_last_not_of(L" \t") - first + 1);
}

bool SameWord(const std::wstring& text, const wchar_t* word) {
  const std::wstring w(word);
  if (text.size() != w.size()) return false;
  for (std::size_t i = 0; i < w.size(); ++i)
    if (std::towlower(static_cast<wint_t>(text[i])) != std::towlower(static_cast<wint_t>(w[i]))) return false;
  return true;
}

// Digits only, within the range; anything else is not a hold time.
std::optional<int> HoldMs(const std::wstring& text) {
  if (text.empty() || text.size() > 5) return std::nullopt;
  int ms = 0;
  for (const wchar_t c : text) {
    if (c < L'0' || c > L'9') return std::nullopt;
    ms = ms * 10 + (c - L'0');
  }
  if (ms < kShortestHoldMs || ms > kLongestHoldMs) return std::nullopt;
  return ms;
}

struct Unreadable {
  const wchar_t* name;
  rt::TextId says;
  std::wstring text;
};

// "On" or "Off", any case; anything else leaves the button out and is said.
bool ReadSwitch(const std::wstring& text, Unreadable unreadable, std::vector<Unreadable>& unread) {
  const std::wstring word = Trimmed(text);
  if (SameWord(word, L"On")) return true;
  if (!SameWord(word, L"Off")) unread.push_back(std::move(unreadable));
  return false;
}

// One value is said with what was written there; several at once are named in one
// sentence, for a balloon holds no more than 255 characters and three would not fit.
std::wstring Complaint(const rt::Texts& words, const std::vector<Unreadable>& unread) {
  if (unread.empty()) return {};
  if (unread.size() == 1)
    return words.Format(unread.front().says, {{L"setting", rt::Abridged(unread.front().text)}});
  std::wstring names;
  for (const Unreadable& value : unread) names += (names.empty() ? L"" : L", ") + std::wstring(value.name);
  return words.Format(rt::TextId::LatchSettingsUnreadable, {{L"settings", names}});
}

}  // namespace

Read FromTexts(const rt::Texts& words, const std::wstring& latchText, const std::wstring& latchRightText,
               const std::wstring& latchMiddleText) {
  Read read;
  std::vector<Unreadable> unread;
  const std::wstring latch = Trimmed(latchText);
  if (!SameWord(latch, L"Off")) {
    if (const auto ms = HoldMs(latch))
      read.latch.holdTime = std::chrono::milliseconds(*ms);
    else
      unread.push_back({L"Latch", rt::TextId::LatchSettingUnreadable, latchText});
  }
  read.latch.rightButton =
      ReadSwitch(latchRightText, {L"LatchRight", rt::TextId::LatchRightUnreadable, latchRightText}, unread);
  read.latch.middleButton =
      ReadSwitch(latchMiddleText, {L"LatchMiddle", rt::TextId::LatchMiddleUnreadable, latchMiddleText}, unread);
  read.complaint = Complaint(words, unread);
  return read;
}

std::wstring HoldTimeText(const modMouse::Latch& latch) {
  return latch.holdTime ? std::to_wstring(latch.holdTime->count()) : std::wstring(L"Off");
}

std::wstring OnOffText(bool on) { return on ? L"On" : L"Off"; }

}  // namespace latch_setting
