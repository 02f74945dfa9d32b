#pragma once

// The pictures of the windows, drawn by the program at start: the main
// window's brushed-metal background, the grey texture of its clipboard and
// limiter panel, the title bitmap with the product name and version, and the
// program icon.

#include <QIcon>
#include <QImage>
#include <QPixmap>
#include <map>
#include <string>

namespace kazunavi {

// 200 x 200 pixels of brushed metal: fine horizontal streaks on light grey.
QImage brushedMetal();
// 200 x 200 pixels of grey, finely speckled.
QImage greyTexture();
// 58 x 11 pixels, 24 bits: "KAZUNAVI 1.2" on a dark metal strip.
QImage titleBitmap();
// The program icon at size x size pixels.
QImage programIcon(int size);
QIcon programIconSet();

// The pictures of a window's elements and of its surface, by element name
// ("" for the window itself).
using Pictures = std::map<std::string, QPixmap>;
Pictures mainWindowPictures();
Pictures aboutBoxPictures();

// The program's fixed look, whatever the desktop's theme: the Fusion style
// with its light palette, and the program icon on every window.
void applyProgramLook();

}  // namespace kazunavi
