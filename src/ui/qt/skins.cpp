#include "ui/qt/skins.h"

#include <QApplication>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QStyle>
#include <utility>

#include "ui/common/skin_pixels.h"
#include "ui/qt/qt_units.h"

namespace kazunavi {

namespace {

QImage toImage(const SkinImage& skin) {
    QImage image(skin.width, skin.height, QImage::Format_RGB32);
    for (int y = 0; y < skin.height; ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < skin.width; ++x) {
            line[x] = 0xFF000000u | skin.pixels[static_cast<std::size_t>(y * skin.width + x)];
        }
    }
    return image;
}

}  // namespace

QImage brushedMetal() {
    return toImage(brushedMetalPixels());
}

QImage greyTexture() {
    return toImage(greyTexturePixels());
}

QImage titleBitmap() {
    return toImage(titleBitmapPixels());
}

QImage programIcon(int size) {
    QImage image(size, size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    p.scale(size / 32.0, size / 32.0);
    QLinearGradient face(0, 0, 0, 32);
    face.setColorAt(0, QColor(0x5B, 0x86, 0x9E));
    face.setColorAt(1, QColor(0x2B, 0x48, 0x5B));
    p.setPen(QPen(QColor(0x1A, 0x2C, 0x38), 1.0));
    p.setBrush(face);
    p.drawRoundedRect(QRectF(1.5, 1.5, 29, 29), 6, 6);
    // Three steps of a running number, rising: 1, 2, 3.
    const QColor steps[] = {QColor(0xB3, 0xD7, 0xDF), QColor(0xD8, 0xCD, 0xA3),
                            QColor(0xFF, 0xC8, 0x60)};
    for (int i = 0; i < 3; ++i) {
        p.setPen(Qt::NoPen);
        p.setBrush(steps[i]);
        const double h = 6.0 + 5.0 * i;
        p.drawRect(QRectF(6.0 + 7.0 * i, 26.0 - h, 5.0, h));
    }
    // The forward arrow of the browser.
    QPainterPath arrow;
    arrow.moveTo(17, 6);
    arrow.lineTo(26, 10.5);
    arrow.lineTo(17, 15);
    arrow.closeSubpath();
    p.setBrush(QColor(0xFF, 0xFF, 0xFF));
    p.drawPath(arrow);
    p.end();
    return image;
}

QIcon programIconSet() {
    QIcon icon;
    for (int size : {16, 24, 32, 48, 64}) {
        icon.addPixmap(QPixmap::fromImage(programIcon(size)));
    }
    return icon;
}

const QPixmap& LazyPicture::pixmap() {
    if (draw_) {
        drawn_ = QPixmap::fromImage(std::exchange(draw_, nullptr)());
    }
    return drawn_;
}

Pictures mainWindowPictures() {
    return {{"", brushedMetal}, {"Pic1", greyTexture}, {"Picture1", titleBitmap}};
}

Pictures aboutBoxPictures() {
    return {{"Picture1", [] { return programIcon(32); }}};
}

void applyProgramLook() {
    QApplication::setStyle(QStringLiteral("Fusion"));
    QApplication::setPalette(QApplication::style()->standardPalette());
    QApplication::setWindowIcon(programIconSet());
    // Message boxes and tooltips speak Japanese: they take the window's face,
    // and no other face is loaded only to be replaced.
    QApplication::setFont(defaultFont());
}

}  // namespace kazunavi
