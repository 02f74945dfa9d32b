#pragma once

// The pictures of the windows on Windows: the skins drawn at start, and the
// program icon of the resources.

#include <windows.h>

#include "ui/win32/form_window.h"

namespace kazunavi {

// The resource number of the program icon.
constexpr int kProgramIconResource = 1;

// The main window's brushed metal, the panel's grey texture and the title bitmap.
Pictures mainWindowPictures();
// The program icon in the about box (icon not owned).
Pictures aboutBoxPictures(HICON icon);

}  // namespace kazunavi
