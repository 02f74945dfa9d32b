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
#include "ui/common/units.h"

namespace kazunavi {

// The pixel rectangle of an element's place in Qt's terms; Qt scales the
// pixels on high-density screens.
QRect qRect(const PixelRect& r);
inline QRect pixelQRect(const Geometry& g) {
    return qRect(pixelRect(g));
}

// A Windows colour value: red in the low byte, blue in the high byte.
QColor qColour(Colour c);

// The design's face and size: "ＭＳ Ｐゴシック" is drawn with IPA P Gothic,
// "Small Fonts" with a small sans face, the default font is the window's.
// Point sizes become pixel sizes at 96 dots per inch.
QFont qFont(const Font& font);
// The same size and weight in a narrow face: its Latin letters take about a
// fifth less room; other characters fall back to the font's own faces.
QFont narrowed(const QFont& font);
// The font of elements that name none.
QFont defaultFont();

}  // namespace kazunavi
