#pragma once

// The pictures of the windows, drawn by the program: the main window's
// brushed-metal background, the grey texture of its clipboard and limiter
// panel, the title bitmap with the product name and version, and the program
// icon.

#include <QIcon>
#include <QImage>
#include <QPixmap>
#include <functional>
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

// A picture drawn when it is first shown: the closed detail area's costs
// neither the time nor the memory at start.
class LazyPicture {
  public:
    LazyPicture() = default;
    explicit LazyPicture(std::function<QImage()> draw) : draw_(std::move(draw)) {}
    // Null for no picture.
    const QPixmap& pixmap();

  private:
    std::function<QImage()> draw_;
    QPixmap drawn_;
};

// The pictures of a window's elements and of its surface, by element name
// ("" for the window itself).
using Pictures = std::map<std::string, std::function<QImage()>>;
Pictures mainWindowPictures();
Pictures aboutBoxPictures();

// The program's fixed look, whatever the desktop's theme: the Fusion style
// with its light palette, and the program icon on every window.
void applyProgramLook();

}  // namespace kazunavi
