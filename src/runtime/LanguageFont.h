// A design's font in the user's language: Arial or Tahoma have no Japanese or Chinese
// characters, so those languages get the face their Windows draws its own windows in, at
// the design's size and weight, with the character set that leads Windows to a face that
// has them should that one be missing.
#pragma once
#include "runtime/TextIds.h"
#include "runtime/Types.h"

namespace rt {

Font InLanguage(const Font& design, Language language);

}  // namespace rt
