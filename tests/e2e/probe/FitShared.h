// What the probe and its hook library share to measure another program's controls from
// inside it, where the controls' fonts are.
#pragma once
#include <windows.h>

namespace probe {

inline constexpr wchar_t kFitMapping[] = L"Local\\VornaticProbe.Fit";
inline constexpr wchar_t kFitDone[] = L"Local\\VornaticProbe.FitDone";
inline constexpr wchar_t kFitMessage[] = L"VornaticProbe.Fit";

struct FitRequest {
  HWND window;
  char json[60000];
};

}  // namespace probe
