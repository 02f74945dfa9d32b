#include "ui/common/skin_pixels.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <string_view>

namespace kazunavi {

namespace {

constexpr int kTile = 200;

// Noise for the textures from a fixed seed, so that every start draws the
// same pictures. A xorshift generator: a few instructions a draw, and the
// textures take tens of thousands of draws at start.
class Noise {
  public:
    // A small seed spread over all bits: the first draws are not near 0.
    explicit Noise(std::uint32_t seed) : state_((seed * 2654435761U) | 1U) {}
    // Uniform in [0, 1).
    double next() {
        state_ ^= state_ << 13;
        state_ ^= state_ >> 17;
        state_ ^= state_ << 5;
        return state_ * (1.0 / 4294967296.0);
    }

  private:
    std::uint32_t state_;
};

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
int drawGlyph(SkinImage& image, int x, int y, const Rows& rows, std::uint32_t ink,
              std::uint32_t shade) {
    int width = 0;
    for (std::size_t row = 0; row < rows.size(); ++row) {
        for (std::size_t col = 0; col < rows[row].size(); ++col) {
            if (rows[row][col] == '#') {
                const int px = x + static_cast<int>(col);
                const int py = y + static_cast<int>(row);
                if (px + 1 < image.width && py + 1 < image.height) {
                    image.at(px + 1, py + 1) = shade;
                }
                image.at(px, py) = ink;
                width = std::max(width, static_cast<int>(col) + 1);
            }
        }
    }
    return width;
}

}  // namespace

SkinImage brushedMetalPixels() {
    SkinImage image(kTile, kTile);
    Noise random(20240601);
    std::vector<double> noise(kTile);
    constexpr int kReach = 14;  // streak half-length in pixels
    for (int y = 0; y < kTile; ++y) {
        for (double& n : noise) {
            n = random.next() - 0.5;
        }
        // Long horizontal streaks: the noise of the row smeared along it
        // (a running sum over 2 * kReach + 1 pixels, wrapping round).
        double sum = 0;
        for (int d = -kReach; d <= kReach; ++d) {
            sum += noise[static_cast<std::size_t>((d + kTile) % kTile)];
        }
        const double rowShade = (random.next() - 0.5) * 10.0;
        const double sheen = 8.0 * (1.0 - static_cast<double>(y) / kTile);
        for (int x = 0; x < kTile; ++x) {
            const double streak = sum / (2 * kReach + 1);
            const double grain = (random.next() - 0.5) * 6.0;
            const double v = 204.0 + sheen + rowShade + streak * 60.0 + grain;
            image.at(x, y) = rgb(clampByte(v - 3), clampByte(v), clampByte(v + 4));
            sum += noise[static_cast<std::size_t>((x + kReach + 1) % kTile)] -
                   noise[static_cast<std::size_t>((x - kReach + kTile) % kTile)];
        }
    }
    return image;
}

SkinImage greyTexturePixels() {
    SkinImage image(kTile, kTile);
    Noise random(7);
    for (int y = 0; y < kTile; ++y) {
        for (int x = 0; x < kTile; ++x) {
            const double speck = random.next() < 0.04 ? -14.0 : 0.0;
            const double v = 182.0 + (random.next() - 0.5) * 12.0 + speck;
            image.at(x, y) = rgb(clampByte(v), clampByte(v), clampByte(v + 2));
        }
    }
    return image;
}

SkinImage titleBitmapPixels() {
    SkinImage image(58, 11);
    for (int y = 0; y < image.height; ++y) {
        // A dark strip with a lighter band through its middle, like brushed steel.
        const double v = 58.0 + 26.0 * (1.0 - std::abs(y - 4.0) / 6.0);
        for (int x = 0; x < image.width; ++x) {
            image.at(x, y) = rgb(clampByte(v - 6), clampByte(v + 4), clampByte(v + 14));
        }
    }
    const std::uint32_t ink = rgb(236, 242, 246);
    const std::uint32_t shade = rgb(20, 28, 36);
    int x = 2;
    for (char letter : std::string_view("KAZUNAVI")) {
        for (const Glyph& g : kCapitals) {
            if (g.letter == letter) {
                x += drawGlyph(image, x, 2, g.rows, ink, shade) + 1;
            }
        }
    }
    x += 2;
    const std::uint32_t version = rgb(255, 200, 96);
    for (char letter : std::string_view("1.2")) {
        for (const Figure& f : kFigures) {
            if (f.letter == letter) {
                x += drawGlyph(image, x, 4, f.rows, version, shade) + 1;
            }
        }
    }
    return image;
}

}  // namespace kazunavi
