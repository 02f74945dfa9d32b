#pragma once

// How the element model's units meet the screen's, for every toolkit: twips
// to pixels at a screen density, and the part of a long text that a view shows.

#include <cstddef>
#include <string_view>

#include "platform/element.h"

namespace kazunavi {

// 15 twips make one pixel at 96 dots per inch.
constexpr int kTwipsPerPixel = 15;
constexpr int kBaseDpi = 96;

// Twips to pixels at dpi, rounded to the nearest pixel, halves away from zero.
constexpr int pixels(int twips, int dpi = kBaseDpi) {
    const long long scaled = static_cast<long long>(twips) * dpi;
    const long long unit = static_cast<long long>(kTwipsPerPixel) * kBaseDpi;
    return static_cast<int>(scaled >= 0 ? (scaled + unit / 2) / unit
                                        : -((-scaled + unit / 2) / unit));
}

struct PixelRect {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
    bool contains(int x, int y) const {
        return x >= left && y >= top && x < left + width && y < top + height;
    }
    friend bool operator==(const PixelRect&, const PixelRect&) = default;
};

// The pixel rectangle of a place and size in twips. The edges are rounded, not
// the size, so that elements that touch in twips touch in pixels.
PixelRect pixelRect(const Geometry& g, int dpi = kBaseDpi);

// What a view shows of a text: at most kShownLength UTF-16 units, never half
// of a surrogate pair. The model keeps the whole text; no address comes near
// the limit, but a page of text copied by mistake would cost every tick and
// every repaint its whole length.
constexpr std::size_t kShownLength = 4096;
std::u16string_view shownPart(std::u16string_view text);

// The model's text after the user edited the part shown: what lay beyond
// that part stays behind the edit.
std::u16string editedText(std::u16string_view model, std::u16string_view shown,
                          std::u16string_view edited);

}  // namespace kazunavi
