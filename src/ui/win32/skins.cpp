#include "ui/win32/skins.h"

#include "ui/common/skin_pixels.h"

namespace kazunavi {

Pictures mainWindowPictures() {
    Pictures pictures;
    pictures.emplace("", pictureOf(brushedMetalPixels()));
    pictures.emplace("Pic1", pictureOf(greyTexturePixels()));
    pictures.emplace("Picture1", pictureOf(titleBitmapPixels()));
    return pictures;
}

Pictures aboutBoxPictures(HICON icon) {
    Pictures pictures;
    Picture emblem;
    emblem.icon = icon;
    pictures.emplace("Picture1", std::move(emblem));
    return pictures;
}

}  // namespace kazunavi
