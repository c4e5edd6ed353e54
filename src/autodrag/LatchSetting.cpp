#include "autodrag/LatchSetting.h"

#include <cwctype>
#include <optional>

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

// "On" or "Off", any case; anything else leaves the button out and adds to the complaint.
bool ReadSwitch(const rt::Texts& words, const std::wstring& text, rt::TextId unreadable, std::wstring& complaint) {
  const std::wstring word = Trimmed(text);
  if (SameWord(word, L"On")) return true;
  if (!SameWord(word, L"Off"))
    complaint += std::wstring(complaint.empty() ? L"" : L"\r\n") + words.Format(unreadable, {{L"setting", text}});
  return false;
}

}  // namespace

Read FromTexts(const rt::Texts& words, const std::wstring& latchText, const std::wstring& latchRightText,
               const std::wstring& latchMiddleText) {
  Read read;
  const std::wstring latch = Trimmed(latchText);
  if (!SameWord(latch, L"Off")) {
    if (const auto ms = HoldMs(latch))
      read.latch.holdTime = std::chrono::milliseconds(*ms);
    else
      read.complaint = words.Format(rt::TextId::LatchSettingUnreadable, {{L"setting", latchText}});
  }
  read.latch.rightButton = ReadSwitch(words, latchRightText, rt::TextId::LatchRightUnreadable, read.complaint);
  read.latch.middleButton = ReadSwitch(words, latchMiddleText, rt::TextId::LatchMiddleUnreadable, read.complaint);
  return read;
}

std::wstring HoldTimeText(const modMouse::Latch& latch) {
  return latch.holdTime ? std::to_wstring(latch.holdTime->count()) : std::wstring(L"Off");
}

std::wstring OnOffText(bool on) { return on ? L"On" : L"Off"; }

}  // namespace latch_setting
