#include "ui/qt/qt_units.h"

#include <QStringList>
#include <cmath>

#include "shell/model/form1_inventory.h"

namespace kazunavi {

namespace {

int pixelSizeOf(double points) {
    return std::max(1, static_cast<int>(std::lround(points * 96.0 / 72.0)));
}

QFont faceOf(const QStringList& families, double points) {
    QFont font;
    font.setFamilies(families);
    font.setPixelSize(pixelSizeOf(points));
    font.setStyleHint(QFont::SansSerif);
    // Small captions stay crisp when the glyphs are fitted to the pixel grid.
    font.setHintingPreference(QFont::PreferFullHinting);
    return font;
}

const QStringList& gothicFamilies() {
    static const QStringList families{
        QStringLiteral("IPAPGothic"), QStringLiteral("IPA Pゴシック"), QStringLiteral("IPAGothic"),
        QStringLiteral("Noto Sans CJK JP"), QStringLiteral("Droid Sans Fallback")};
    return families;
}

const QStringList& smallFamilies() {
    static const QStringList families{
        QStringLiteral("DejaVu Sans Condensed"), QStringLiteral("DejaVu Sans"),
        QStringLiteral("Nimbus Sans Narrow"),    QStringLiteral("Nimbus Sans"),
        QStringLiteral("Liberation Sans"),       QStringLiteral("IPAPGothic")};
    return families;
}

// At the credit line's 4.5 points (6 pixels) the condensed cut's hinted
// letters reach a row below the em, so that a label of the design's height
// cuts them; the regular cut's stay inside it.
const QStringList& tinyFamilies() {
    static const QStringList families{QStringLiteral("DejaVu Sans"),
                                      QStringLiteral("Liberation Sans"),
                                      QStringLiteral("IPAPGothic")};
    return families;
}

}  // namespace

QFont narrowed(const QFont& font) {
    QFont narrow = font;
    narrow.setFamilies(QStringList{QStringLiteral("Liberation Sans Narrow"),
                                   QStringLiteral("Nimbus Sans Narrow")} +
                       font.families());
    return narrow;
}

QRect qRect(const PixelRect& r) {
    return {r.left, r.top, r.width, r.height};
}

QColor qColour(Colour c) {
    return QColor(redOf(c), greenOf(c), blueOf(c));
}

QFont defaultFont() {
    return faceOf(gothicFamilies(), 9.0);
}

QFont qFont(const Font& font) {
    QFont result;
    if (font.face.empty()) {
        result = defaultFont();
        if (font.points > 0) {
            result.setPixelSize(pixelSizeOf(font.points));
        }
    } else if (font.face == kSmallFonts) {
        const double points = font.points > 0 ? font.points : 6.0;
        result = faceOf(points < 6.0 ? tinyFamilies() : smallFamilies(), points);
    } else if (font.face == kPGothic) {
        result = faceOf(gothicFamilies(), font.points > 0 ? font.points : 9.0);
    } else {
        result = faceOf(QStringList{qText(font.face)} + gothicFamilies(),
                        font.points > 0 ? font.points : 9.0);
    }
    result.setBold(font.bold);
    result.setItalic(font.italic);
    result.setUnderline(font.underline);
    return result;
}

}  // namespace kazunavi
