#include "ui/Layout.h"

#include <cwchar>
#include <stdexcept>

namespace layout {

const ControlDesign& Find(const wchar_t* name) {
  for (const auto& design : kControls)
    if (std::wcscmp(design.name, name) == 0) return design;
  throw std::logic_error("control missing from the layout");
}

}  // namespace layout
