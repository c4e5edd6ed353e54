#include "runtime/win32/GdiCache.h"

#include <cmath>
#include <cwchar>

#include "runtime/Failure.h"

namespace win32 {

LOGFONTW LogFontFor(const rt::Font& font, int dpi) {
  LOGFONTW logFont{};
  // A negative height asks for the character height, which is what a point size measures.
  logFont.lfHeight = -static_cast<LONG>(std::lround(font.points * dpi / 72.0));
  logFont.lfWeight = font.bold ? FW_BOLD : FW_NORMAL;
  logFont.lfCharSet = static_cast<BYTE>(font.charset);
  logFont.lfOutPrecision = OUT_DEFAULT_PRECIS;
  logFont.lfClipPrecision = CLIP_DEFAULT_PRECIS;
  logFont.lfQuality = DEFAULT_QUALITY;
  logFont.lfPitchAndFamily = DEFAULT_PITCH | FF_SWISS;
  std::wcsncpy(logFont.lfFaceName, font.name.c_str(), LF_FACESIZE - 1);
  return logFont;
}

HFONT FontCache::Get(const rt::Font& font) {
  for (const auto& [made, handle] : fonts_)
    if (made == font) return handle.get();
  const LOGFONTW logFont = LogFontFor(font, dpi_);
  UniqueFont handle(::CreateFontIndirectW(&logFont));
  if (!handle) throw rt::Failure(L"The font \"" + font.name + L"\" could not be made.");
  HFONT result = handle.get();
  fonts_.emplace_back(font, std::move(handle));
  return result;
}

HBRUSH BrushCache::Get(rt::OleColor color) {
  const COLORREF colorRef = ToColorRef(color);
  auto found = brushes_.find(colorRef);
  if (found != brushes_.end()) return found->second.get();
  UniqueBrush brush(::CreateSolidBrush(colorRef));
  if (!brush) throw rt::Failure(L"A brush could not be made.");
  HBRUSH result = brush.get();
  brushes_.emplace(colorRef, std::move(brush));
  return result;
}

}  // namespace win32
