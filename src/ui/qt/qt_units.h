#pragma once

// How the element model's units meet Qt's: twips to pixels, Windows colour
// values to QColor, the design's fonts to the faces found here.

#include <QColor>
#include <QFont>
#include <QRect>
#include <QString>
#include <string>
#include <string_view>

#include "platform/colour.h"
#include "platform/element.h"
#include "platform/qt/qt_text.h"

namespace kazunavi {

// 15 twips make one pixel at 96 dots per inch; Qt scales the pixels on
// high-density screens.
constexpr int kTwipsPerPixel = 15;

constexpr int pixels(int twips) {
    // Rounded to the nearest pixel, halves away from zero.
    return twips >= 0 ? (twips + kTwipsPerPixel / 2) / kTwipsPerPixel
                      : -((-twips + kTwipsPerPixel / 2) / kTwipsPerPixel);
}

// The pixel rectangle of a place and size in twips. The edges are rounded, not
// the size, so that elements that touch in twips touch in pixels.
QRect pixelRect(const Geometry& g);

// What a view shows of a text: at most kShownLength UTF-16 units, never half
// of a surrogate pair. The model keeps the whole text; no address comes near
// the limit, but a page of text copied by mistake would cost every tick and
// every repaint its whole length.
constexpr std::size_t kShownLength = 4096;
std::u16string_view shownPart(std::u16string_view text);

// A Windows colour value: red in the low byte, blue in the high byte.
QColor qColour(Colour c);

// The design's face and size: "ＭＳ Ｐゴシック" is drawn with IPA P Gothic,
// "Small Fonts" with a small sans face, the default font is the window's.
// Point sizes become pixel sizes at 96 dots per inch.
QFont qFont(const Font& font);
// The font of elements that name none.
QFont defaultFont();

}  // namespace kazunavi
