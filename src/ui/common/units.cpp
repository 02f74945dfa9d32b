#include "ui/common/units.h"

#include <string>

namespace kazunavi {

PixelRect pixelRect(const Geometry& g, int dpi) {
    const int left = pixels(g.left, dpi);
    const int top = pixels(g.top, dpi);
    return {left, top, pixels(g.left + g.width, dpi) - left, pixels(g.top + g.height, dpi) - top};
}

std::u16string_view shownPart(std::u16string_view text) {
    if (text.size() <= kShownLength) {
        return text;
    }
    const bool splitsPair = text[kShownLength - 1] >= 0xD800 && text[kShownLength - 1] <= 0xDBFF;
    return text.substr(0, kShownLength - (splitsPair ? 1 : 0));
}

std::u16string editedText(std::u16string_view model, std::u16string_view shown,
                          std::u16string_view edited) {
    std::u16string whole(edited);
    if (model.size() > shown.size() && model.starts_with(shown)) {
        whole.append(model.substr(shown.size()));
    }
    return whole;
}

}  // namespace kazunavi
