#pragma once

// One shown element of a window on Windows: a native control (button, text
// box, drop-down list, panel) or a place that its container paints (label,
// shape, line). It keeps what it shows (ElementSync) and touches the control
// or asks for painting only where the model differs.

#include <windows.h>

#include <string>

#include "ui/common/element_sync.h"
#include "ui/common/units.h"
#include "ui/common/view_kinds.h"

namespace kazunavi {

class FontBook;

class ElementWindow : public ElementSync {
  public:
    // surface: the window of its container; control: its own, or none.
    ElementWindow(Element& element, ViewKind kind, std::string target, HWND surface, HWND control);

    ViewKind kind() const { return kind_; }
    const std::string& target() const { return target_; }
    HWND surface() const { return surface_; }
    HWND control() const { return control_; }
    // Where it lies in its container, in pixels at the window's density.
    const PixelRect& place() const { return place_; }
    RECT rect() const;
    // The two ends of a line, in its container.
    POINT lineFrom() const { return from_; }
    POINT lineTo() const { return to_; }
    const Design& design() const { return design_; }
    bool shownEnabled() const { return shown_.enabled; }
    bool shownVisible() const { return shown_.visible; }
    // The font it is drawn with at the window's density.
    HFONT font() const { return font_; }
    // The same in a narrow face, for captions wider than their labels; may be null.
    HFONT narrowFont() const { return narrowFont_; }
    bool solidFill() const { return solidFill_; }

    // Brings the control, or the painted place, in line with the model; true
    // when anything changed. tooltips: the window's tooltip control.
    bool sync(int dpi, HWND tooltips);
    // Places it afresh at a new density.
    void relayout(int dpi, FontBook& fonts);

    // What the user did in the control goes into the model.
    void pullText();
    void pullSelection();
    void pullListIndex();

  private:
    void place(int dpi);
    void syncToolTip(HWND tooltips);
    void invalidate();

    ViewKind kind_;
    std::string target_;
    HWND surface_;
    HWND control_;
    PixelRect place_;
    POINT from_{};
    POINT to_{};
    UINT_PTR toolId_;
    HFONT font_ = nullptr;  // the window's font book owns it
    HFONT narrowFont_ = nullptr;
    bool solidFill_;
    bool toolAdded_ = false;
    bool applying_ = false;  // the control's change comes from the model
};

}  // namespace kazunavi
