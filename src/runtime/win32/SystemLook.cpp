#include "runtime/win32/SystemLook.h"

#include "runtime/IconSize.h"
#include "runtime/win32/DpiScaling.h"

namespace win32 {
namespace {

using GetSystemMetricsForDpiFn = int(WINAPI*)(int, UINT);
using GetDpiForSystemFn = UINT(WINAPI*)();

template <typename Fn>
Fn User32Function(const char* name) {
  HMODULE user32 = ::GetModuleHandleW(L"user32.dll");
  if (user32 == nullptr) return nullptr;
  return reinterpret_cast<Fn>(reinterpret_cast<void*>(::GetProcAddress(user32, name)));
}

int IconSide(int metric, int sideAt96, int dpi) {
  static const auto metricsForDpi = User32Function<GetSystemMetricsForDpiFn>("GetSystemMetricsForDpi");
  if (metricsForDpi != nullptr) {
    const int side = metricsForDpi(metric, static_cast<UINT>(dpi));
    if (side > 0) return side;
  }
  return rt::IconSideAt(sideAt96, dpi);
}

}  // namespace

bool HighContrastOn() {
  HIGHCONTRASTW contrast{};
  contrast.cbSize = sizeof(contrast);
  if (!::SystemParametersInfoW(SPI_GETHIGHCONTRAST, sizeof(contrast), &contrast, 0)) return false;
  return (contrast.dwFlags & HCF_HIGHCONTRASTON) != 0;
}

int SmallIconSide(int dpi) { return IconSide(SM_CXSMICON, rt::kSmallIconAt96, dpi); }
int BigIconSide(int dpi) { return IconSide(SM_CXICON, rt::kBigIconAt96, dpi); }

int SystemDpi() {
  static const auto dpiForSystem = User32Function<GetDpiForSystemFn>("GetDpiForSystem");
  if (dpiForSystem != nullptr) return static_cast<int>(dpiForSystem());
  return DpiOfWindow(nullptr);
}

}  // namespace win32
