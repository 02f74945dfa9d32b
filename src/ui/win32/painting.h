#pragma once

// How the element model's looks meet GDI: colours, the design's fonts at a
// screen density (the faces found here standing in for those missing), the
// skins as bitmaps, and the drawing of the elements the window paints itself.

#include <windows.h>

#include <map>
#include <optional>
#include <string>
#include <tuple>

#include "platform/element.h"
#include "ui/common/element_sync.h"
#include "ui/common/skin_pixels.h"
#include "ui/win32/gdi.h"

namespace kazunavi {

// Windows colour values are COLORREFs already: red in the low byte.
constexpr COLORREF colorOf(Colour c) {
    return static_cast<COLORREF>(c) & 0xFFFFFF;
}

// The design's fonts at one density, made once each.
class FontBook {
  public:
    // narrow: the same size and weight in a narrow face (its letters), null
    // where none is installed.
    HFONT font(const Font& font, int dpi, bool narrow = false);
    // The font of elements that name none.
    HFONT defaultFont(int dpi) { return font(Font{}, dpi); }

  private:
    std::map<std::tuple<std::u16string, double, int, int>, UniqueFont> fonts_;
    std::map<std::u16string, std::wstring> faces_;  // design face -> face found here
    std::optional<std::wstring> narrowFace_;        // empty: none found
};

// Solid brushes by colour, made once each.
class BrushBook {
  public:
    HBRUSH brush(Colour colour);

  private:
    std::map<Colour, UniqueBrush> brushes_;
};

// A picture of an element or of a window's surface: a bitmap, or an icon.
struct Picture {
    UniqueBitmap bitmap;
    SIZE size{};
    HICON icon = nullptr;  // not owned
};
Picture pictureOf(const SkinImage& image);

// The parts of a window that its own painting draws.
void drawPicture(HDC dc, const RECT& area, const Picture& picture);
// A label: its background unless transparent, its border, its caption from
// the top, wrapped at word breaks; greyed and engraved while disabled. A word
// wider than the label takes the letters of the narrow font where it has them.
void drawLabel(HDC dc, const RECT& area, const Design& design, const Shown& shown, HFONT font,
               HFONT narrow);
// A rectangle frame, or the filled circle of the lamp.
void drawShape(HDC dc, const RECT& area, const Design& design, Colour fill, bool solidFill);
void drawLine(HDC dc, POINT from, POINT to, const Design& design);
// A command button: a raised face in its back colour, sunken while pressed.
void drawButton(const DRAWITEMSTRUCT& item, const Shown& shown, HFONT font);

}  // namespace kazunavi
