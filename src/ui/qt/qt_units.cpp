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

}  // namespace

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
        result = faceOf(smallFamilies(), font.points > 0 ? font.points : 6.0);
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
