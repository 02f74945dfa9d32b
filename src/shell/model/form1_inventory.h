#pragma once

#include "shell/model/window.h"

namespace kazunavi {

// The designed elements of the main window: kind, container, place in
// twips, look, initial caption or text, tooltip and enabled state.
class Form1Inventory : public Window {
  public:
    static constexpr WindowHandle kHandle = 0x1000;
    static constexpr int kWidth = 2730;
    static constexpr int kCollapsedHeight = 685;
    static constexpr int kExpandedHeight = 2955;

  protected:
    Form1Inventory();
};

// Fonts named by the design; the drawing substitutes faces that are missing.
inline constexpr char16_t kSmallFonts[] = u"Small Fonts";
inline constexpr char16_t kPGothic[] = u"ＭＳ Ｐゴシック";

}  // namespace kazunavi
