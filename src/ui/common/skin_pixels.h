#pragma once

// The pixels of the windows' pictures, drawn by the program at start with a
// fixed seed (the same pictures at every start): the main window's brushed
// metal, the grey texture of its clipboard and limiter panel, and the title
// bitmap with the product name and version.

#include <cstdint>
#include <vector>

namespace kazunavi {

// Rows from the top, each pixel 0xRRGGBB.
struct SkinImage {
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> pixels;

    SkinImage(int w, int h) : width(w), height(h), pixels(static_cast<std::size_t>(w * h)) {}
    std::uint32_t& at(int x, int y) { return pixels[static_cast<std::size_t>(y * width + x)]; }
};

constexpr std::uint32_t rgb(int r, int g, int b) {
    return static_cast<std::uint32_t>((r << 16) | (g << 8) | b);
}

// 200 x 200 pixels of brushed metal: fine horizontal streaks on light grey.
SkinImage brushedMetalPixels();
// 200 x 200 pixels of grey, finely speckled.
SkinImage greyTexturePixels();
// 58 x 11 pixels: "KAZUNAVI 1.2" on a dark metal strip.
SkinImage titleBitmapPixels();

}  // namespace kazunavi
