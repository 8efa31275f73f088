#include "ui/layout.h"

#include <algorithm>

namespace rapporta::ui {

ResizedGeometry ResizeRule(int outerWidth, int outerHeight) {
  const auto size = [](int value) { return std::max(0, value); };
  return ResizedGeometry{
      size(outerHeight - 1500),  // lChat height
      size(outerWidth - 120),    // lChat width
      outerHeight - 900,         // sInput top
      size(outerWidth - 1365),   // sInput width
      outerHeight - 900,         // B_Send top
      outerWidth - 1260,         // B_Send left
  };
}

}  // namespace rapporta::ui
