// The fonts and brushes the window's controls paint with, made once and shared: a font per
// model font at the window's DPI, a brush per colour.
#pragma once
#include <windows.h>

#include <map>
#include <utility>
#include <vector>

#include "runtime/Types.h"
#include "runtime/win32/Gdi.h"

namespace win32 {

// Fonts at one DPI. A DPI change builds a new cache; the old one must outlive the
// WM_SETFONT that moves the controls off its fonts.
class FontCache {
 public:
  explicit FontCache(int dpi) : dpi_(dpi) {}
  int Dpi() const { return dpi_; }
  // The font for a model font at this cache's DPI; made on first use, owned by the cache.
  HFONT Get(const rt::Font& font);

 private:
  int dpi_;
  std::vector<std::pair<rt::Font, UniqueFont>> fonts_;
};

class BrushCache {
 public:
  HBRUSH Get(rt::OleColor color);
  // System colours were changed by the user: brushes of system colours are stale.
  void Clear() { brushes_.clear(); }

 private:
  std::map<COLORREF, UniqueBrush> brushes_;
};

// The LOGFONT for a model font at a DPI: points to pixel height, the weight, the character set.
LOGFONTW LogFontFor(const rt::Font& font, int dpi);

}  // namespace win32
