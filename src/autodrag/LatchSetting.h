// The user's latch settings as stored ("Latch": "Off" or a hold time in milliseconds;
// "LatchRight" and "LatchMiddle": "Off" or "On"), read into what the mouse module needs. A text we do not
// understand is taken as "Off", and what was wrong is said in words for one balloon.
#pragma once
#include <string>

#include "autodrag/modMouse.h"
#include "runtime/Texts.h"

namespace latch_setting {

inline constexpr int kShortestHoldMs = 200;
inline constexpr int kLongestHoldMs = 2200;

struct Read {
  modMouse::Latch latch;
  // Empty when every text was understood.
  std::wstring complaint;
};

// The complaint is in the user's language.
Read FromTexts(const rt::Texts& words, const std::wstring& latchText, const std::wstring& latchRightText,
               const std::wstring& latchMiddleText = L"Off");

// The texts that store a latch as FromTexts reads it back.
std::wstring HoldTimeText(const modMouse::Latch& latch);
std::wstring OnOffText(bool on);

}  // namespace latch_setting
