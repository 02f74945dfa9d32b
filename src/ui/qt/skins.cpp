#include "ui/qt/skins.h"

#include <QApplication>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QStyle>
#include <algorithm>
#include <array>
#include <cstdint>
#include <random>
#include <string_view>
#include <vector>

#include "ui/qt/qt_units.h"

namespace kazunavi {

namespace {

constexpr int kTile = 200;

// A fixed seed: the same pictures at every start.
std::minstd_rand noiseSource(std::uint32_t seed) {
    return std::minstd_rand(seed);
}

double uniform(std::minstd_rand& random) {
    return static_cast<double>(random() - std::minstd_rand::min()) /
           static_cast<double>(std::minstd_rand::max() - std::minstd_rand::min());
}

int clampByte(double v) {
    return std::clamp(static_cast<int>(v + 0.5), 0, 255);
}

// Glyphs of the title: 4 x 7 capitals and 3 x 5 figures, '#' a lit pixel.
struct Glyph {
    char letter;
    std::array<std::string_view, 7> rows;
};
constexpr std::array<Glyph, 7> kCapitals = {{
    {'K', {"#..#", "#.#.", "##..", "#...", "##..", "#.#.", "#..#"}},
    {'A', {".##.", "#..#", "#..#", "####", "#..#", "#..#", "#..#"}},
    {'Z', {"####", "...#", "..#.", ".#..", "#...", "#...", "####"}},
    {'U', {"#..#", "#..#", "#..#", "#..#", "#..#", "#..#", ".##."}},
    {'N', {"#..#", "##.#", "##.#", "#.##", "#.##", "#..#", "#..#"}},
    {'V', {"#..#", "#..#", "#..#", "#..#", "#..#", ".##.", ".##."}},
    {'I', {"###.", ".#..", ".#..", ".#..", ".#..", ".#..", "###."}},
}};
struct Figure {
    char letter;
    std::array<std::string_view, 5> rows;
};
constexpr std::array<Figure, 3> kFigures = {{
    {'1', {".#.", "##.", ".#.", ".#.", "###"}},
    {'2', {"##.", "..#", ".#.", "#..", "###"}},
    {'.', {"...", "...", "...", "...", ".#."}},
}};

template <typename Rows>
int drawGlyph(QImage& image, int x, int y, const Rows& rows, QRgb ink, QRgb shade) {
    int width = 0;
    for (std::size_t row = 0; row < rows.size(); ++row) {
        for (std::size_t col = 0; col < rows[row].size(); ++col) {
            if (rows[row][col] == '#') {
                const int px = x + static_cast<int>(col);
                const int py = y + static_cast<int>(row);
                if (px + 1 < image.width() && py + 1 < image.height()) {
                    image.setPixel(px + 1, py + 1, shade);
                }
                image.setPixel(px, py, ink);
                width = std::max(width, static_cast<int>(col) + 1);
            }
        }
    }
    return width;
}

}  // namespace

QImage brushedMetal() {
    QImage image(kTile, kTile, QImage::Format_RGB32);
    auto random = noiseSource(20240601);
    std::vector<double> noise(kTile);
    constexpr int kReach = 14;  // streak half-length in pixels
    for (int y = 0; y < kTile; ++y) {
        for (double& n : noise) {
            n = uniform(random) - 0.5;
        }
        // Long horizontal streaks: the noise of the row smeared along it
        // (a running sum over 2 * kReach + 1 pixels, wrapping round).
        double sum = 0;
        for (int d = -kReach; d <= kReach; ++d) {
            sum += noise[static_cast<std::size_t>((d + kTile) % kTile)];
        }
        const double rowShade = (uniform(random) - 0.5) * 10.0;
        const double sheen = 8.0 * (1.0 - static_cast<double>(y) / kTile);
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < kTile; ++x) {
            const double streak = sum / (2 * kReach + 1);
            const double grain = (uniform(random) - 0.5) * 6.0;
            const double v = 204.0 + sheen + rowShade + streak * 60.0 + grain;
            line[x] = qRgb(clampByte(v - 3), clampByte(v), clampByte(v + 4));
            sum += noise[static_cast<std::size_t>((x + kReach + 1) % kTile)] -
                   noise[static_cast<std::size_t>((x - kReach + kTile) % kTile)];
        }
    }
    return image;
}

QImage greyTexture() {
    QImage image(kTile, kTile, QImage::Format_RGB32);
    auto random = noiseSource(7);
    for (int y = 0; y < kTile; ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < kTile; ++x) {
            const double speck = uniform(random) < 0.04 ? -14.0 : 0.0;
            const double v = 182.0 + (uniform(random) - 0.5) * 12.0 + speck;
            line[x] = qRgb(clampByte(v), clampByte(v), clampByte(v + 2));
        }
    }
    return image;
}

QImage titleBitmap() {
    QImage image(58, 11, QImage::Format_RGB888);
    for (int y = 0; y < image.height(); ++y) {
        // A dark strip with a lighter band through its middle, like brushed steel.
        const double v = 58.0 + 26.0 * (1.0 - std::abs(y - 4.0) / 6.0);
        for (int x = 0; x < image.width(); ++x) {
            image.setPixel(x, y, qRgb(clampByte(v - 6), clampByte(v + 4), clampByte(v + 14)));
        }
    }
    const QRgb ink = qRgb(236, 242, 246);
    const QRgb shade = qRgb(20, 28, 36);
    int x = 2;
    for (char letter : std::string_view("KAZUNAVI")) {
        for (const Glyph& g : kCapitals) {
            if (g.letter == letter) {
                x += drawGlyph(image, x, 2, g.rows, ink, shade) + 1;
            }
        }
    }
    x += 2;
    const QRgb version = qRgb(255, 200, 96);
    for (char letter : std::string_view("1.2")) {
        for (const Figure& f : kFigures) {
            if (f.letter == letter) {
                x += drawGlyph(image, x, 4, f.rows, version, shade) + 1;
            }
        }
    }
    return image;
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

Pictures mainWindowPictures() {
    return {{"", QPixmap::fromImage(brushedMetal())},
            {"Pic1", QPixmap::fromImage(greyTexture())},
            {"Picture1", QPixmap::fromImage(titleBitmap())}};
}

Pictures aboutBoxPictures() {
    return {{"Picture1", QPixmap::fromImage(programIcon(32))}};
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
