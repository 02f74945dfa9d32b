#include "ui/win32/painting.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace kazunavi {

namespace {

constexpr COLORREF kGreyText = RGB(0x80, 0x80, 0x80);
constexpr COLORREF kEngraving = RGB(0xFF, 0xFF, 0xFF);
constexpr char16_t kPGothic[] = u"ＭＳ Ｐゴシック";
constexpr char16_t kSmallFonts[] = u"Small Fonts";

bool faceExists(const std::wstring& face) {
    LOGFONTW wanted{};
    wanted.lfCharSet = DEFAULT_CHARSET;
    face.copy(wanted.lfFaceName, LF_FACESIZE - 1);
    bool found = false;
    const HDC screen = ::GetDC(nullptr);
    ::EnumFontFamiliesExW(
        screen, &wanted,
        [](const LOGFONTW*, const TEXTMETRICW*, DWORD, LPARAM seen) -> int {
            *reinterpret_cast<bool*>(seen) = true;
            return 0;
        },
        reinterpret_cast<LPARAM>(&found), 0);
    ::ReleaseDC(nullptr, screen);
    return found;
}

// The first face of the list that this system has; the last one otherwise.
std::wstring firstFace(std::initializer_list<const wchar_t*> faces) {
    for (const wchar_t* face : faces) {
        if (faceExists(face)) {
            return face;
        }
    }
    return *(faces.end() - 1);
}

std::wstring faceFor(std::u16string_view design) {
    if (design == kSmallFonts) {
        return firstFace({L"Small Fonts", L"Tahoma", L"MS Sans Serif"});
    }
    std::wstring named(design.begin(), design.end());
    if (design.empty() || design == kPGothic) {
        return firstFace({L"ＭＳ Ｐゴシック", L"MS PGothic", L"MS UI Gothic", L"Meiryo UI",
                          L"IPAPGothic", L"Yu Gothic UI", L"Tahoma"});
    }
    return faceExists(named) ? named : faceFor(kPGothic);
}

UINT alignmentOf(Alignment a) {
    switch (a) {
        case Alignment::Right:
            return DT_RIGHT;
        case Alignment::Center:
            return DT_CENTER;
        case Alignment::Left:
            break;
    }
    return DT_LEFT;
}

void drawText(HDC dc, RECT area, const std::u16string& text, UINT flags, bool enabled,
              COLORREF colour) {
    std::wstring wide(text.begin(), text.end());
    ::SetBkMode(dc, TRANSPARENT);
    if (!enabled) {
        RECT engraved = area;
        ::OffsetRect(&engraved, 1, 1);
        ::SetTextColor(dc, kEngraving);
        ::DrawTextW(dc, wide.data(), static_cast<int>(wide.size()), &engraved, flags);
        colour = kGreyText;
    }
    ::SetTextColor(dc, colour);
    ::DrawTextW(dc, wide.data(), static_cast<int>(wide.size()), &area, flags);
}

void frame(HDC dc, const RECT& r, COLORREF colour) {
    UniquePen pen(::CreatePen(PS_SOLID, 1, colour));
    Selected usePen(dc, pen.get());
    Selected noFill(dc, ::GetStockObject(NULL_BRUSH));
    ::Rectangle(dc, r.left, r.top, r.right, r.bottom);
}

void edge(HDC dc, int x0, int y0, int x1, int y1, COLORREF colour) {
    UniquePen pen(::CreatePen(PS_SOLID, 1, colour));
    Selected usePen(dc, pen.get());
    ::MoveToEx(dc, x0, y0, nullptr);
    ::LineTo(dc, x1, y1);
}

// A one-word caption wider than its label in the stand-in face is drawn at
// its size and weight with the letters a narrow face has in that face and
// the others in the stand-in, where that fits: runs of one face each. Only
// the ink must fit: the blank half of a full-width bracket at either end may
// lie outside (lead and trail).
struct Run {
    std::wstring text;
    HFONT font;
    LONG width;
};
struct Runs {
    std::vector<Run> runs;
    LONG width = 0;
    LONG lead = 0;
};

Runs narrowRuns(HDC dc, HFONT font, HFONT narrow, const std::wstring& caption, LONG room) {
    auto widthIn = [&](HFONT face, const std::wstring& text) {
        Selected use(dc, face);
        SIZE extent{};
        return ::GetTextExtentPoint32W(dc, text.data(), static_cast<int>(text.size()), &extent) != 0
                   ? extent.cx
                   : LONG{0};
    };
    // The blank before (a) or after (c) a character's ink.
    auto blank = [&](HFONT face, wchar_t c, bool before) {
        Selected use(dc, face);
        ABC abc{};
        return ::GetCharABCWidthsW(dc, c, c, &abc) != 0
                   ? std::max<LONG>(0, before ? abc.abcA : abc.abcC)
                   : LONG{0};
    };
    if (narrow == nullptr || caption.empty() ||
        caption.find_first_of(L" \r\n") != std::wstring::npos || widthIn(font, caption) <= room) {
        return {};
    }
    std::vector<WORD> glyphs(caption.size());
    {
        Selected use(dc, narrow);
        if (::GetGlyphIndicesW(dc, caption.data(), static_cast<int>(caption.size()), glyphs.data(),
                               GGI_MARK_NONEXISTING_GLYPHS) == GDI_ERROR) {
            return {};
        }
    }
    Runs made;
    for (std::size_t i = 0; i < caption.size(); ++i) {
        const HFONT face = glyphs[i] == 0xFFFF ? font : narrow;
        if (made.runs.empty() || made.runs.back().font != face) {
            made.runs.push_back({{}, face, 0});
        }
        made.runs.back().text.push_back(caption[i]);
    }
    for (Run& run : made.runs) {
        run.width = widthIn(run.font, run.text);
        made.width += run.width;
    }
    made.lead = blank(made.runs.front().font, caption.front(), true);
    const LONG trail = blank(made.runs.back().font, caption.back(), false);
    return made.width - made.lead - trail <= room ? made : Runs{};
}

void drawRuns(HDC dc, const RECT& area, const Runs& runs, Alignment alignment, bool enabled,
              COLORREF colour) {
    const LONG spare = area.right - area.left - runs.width;
    const LONG left = area.left + (spare < 0                        ? -std::min(runs.lead, -spare)
                                   : alignment == Alignment::Right  ? spare
                                   : alignment == Alignment::Center ? spare / 2
                                                                    : 0);
    ::SetBkMode(dc, TRANSPARENT);
    auto draw = [&](int offset, COLORREF c) {
        ::SetTextColor(dc, c);
        LONG x = left + offset;
        for (const Run& run : runs.runs) {
            Selected use(dc, run.font);
            ::ExtTextOutW(dc, x, area.top + offset, ETO_CLIPPED, &area, run.text.data(),
                          static_cast<UINT>(run.text.size()), nullptr);
            x += run.width;
        }
    };
    if (!enabled) {
        draw(1, kEngraving);
        colour = kGreyText;
    }
    draw(0, colour);
}

COLORREF lighter(COLORREF c) {
    auto up = [](int v) { return std::min(255, v * 115 / 100); };
    return RGB(up(GetRValue(c)), up(GetGValue(c)), up(GetBValue(c)));
}

}  // namespace

HFONT FontBook::font(const Font& design, int dpi, bool narrow) {
    const int style = (design.bold ? 1 : 0) | (design.italic ? 2 : 0) | (design.underline ? 4 : 0) |
                      (narrow ? 8 : 0);
    auto& made = fonts_[{design.face, design.points, style, dpi}];
    if (!made) {
        if (narrow && !narrowFace_) {
            narrowFace_ = firstFace({L"Arial Narrow", L"Liberation Sans Narrow", L""});
        }
        auto face = faces_.find(design.face);
        if (face == faces_.end()) {
            face = faces_.emplace(design.face, faceFor(design.face)).first;
        }
        const std::wstring& name = narrow ? *narrowFace_ : face->second;
        if (name.empty()) {
            return nullptr;
        }
        const double points =
            design.points > 0 ? design.points : (design.face == kSmallFonts ? 6.0 : 9.0);
        const int height = -static_cast<int>(std::lround(points * dpi / 72.0));
        made.reset(::CreateFontW(height, 0, 0, 0, design.bold ? FW_BOLD : FW_NORMAL, design.italic,
                                 design.underline, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                                 CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_SWISS,
                                 name.c_str()));
    }
    return made.get();
}

HBRUSH BrushBook::brush(Colour colour) {
    auto& made = brushes_[colour];
    if (!made) {
        made.reset(::CreateSolidBrush(colorOf(colour)));
    }
    return made.get();
}

Picture pictureOf(const SkinImage& image) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = image.width;
    info.bmiHeader.biHeight = -image.height;  // rows from the top
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    Picture picture;
    picture.bitmap.reset(::CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (picture.bitmap && bits != nullptr) {
        // 0x00RRGGBB is the layout of a 32-bit DIB's pixel.
        std::copy(image.pixels.begin(), image.pixels.end(), static_cast<std::uint32_t*>(bits));
        picture.size = {image.width, image.height};
    }
    return picture;
}

void drawPicture(HDC dc, const RECT& area, const Picture& picture) {
    if (picture.icon != nullptr) {
        ::DrawIconEx(dc, area.left, area.top, picture.icon, 0, 0, 0, nullptr, DI_NORMAL);
        return;
    }
    if (!picture.bitmap) {
        return;
    }
    // From the top-left corner, cut at the edges, not repeated.
    const HDC source = ::CreateCompatibleDC(dc);
    {
        Selected use(source, picture.bitmap.get());
        ::BitBlt(dc, area.left, area.top, std::min<LONG>(picture.size.cx, area.right - area.left),
                 std::min<LONG>(picture.size.cy, area.bottom - area.top), source, 0, 0, SRCCOPY);
    }
    ::DeleteDC(source);
}

void drawLabel(HDC dc, const RECT& area, const Design& design, const Shown& shown, HFONT font,
               HFONT narrow) {
    if (!design.transparent) {
        const COLORREF back = shown.back ? colorOf(*shown.back) : ::GetSysColor(COLOR_BTNFACE);
        ::SetBkColor(dc, back);
        ::ExtTextOutW(dc, 0, 0, ETO_OPAQUE, &area, nullptr, 0, nullptr);
    }
    RECT inner = area;
    if (design.border) {
        frame(dc, area, RGB(0x40, 0x40, 0x40));
        ::InflateRect(&inner, -1, -1);
    }
    Selected useFont(dc, font);
    const COLORREF colour = shown.fore ? colorOf(*shown.fore) : RGB(0, 0, 0);
    const Runs runs =
        narrowRuns(dc, font, narrow, std::wstring(shown.text.begin(), shown.text.end()),
                   inner.right - inner.left);
    if (!runs.runs.empty()) {
        drawRuns(dc, inner, runs, design.alignment, shown.enabled, colour);
        return;
    }
    drawText(dc, inner, shown.text,
             alignmentOf(design.alignment) | DT_TOP | DT_WORDBREAK | DT_NOPREFIX, shown.enabled,
             shown.fore ? colorOf(*shown.fore) : RGB(0, 0, 0));
}

void drawShape(HDC dc, const RECT& area, const Design& design, Colour fill, bool solidFill) {
    const COLORREF border = design.borderColor ? colorOf(*design.borderColor) : RGB(0, 0, 0);
    if (design.shape != ShapeForm::Circle) {
        frame(dc, area, border);
        return;
    }
    UniquePen pen(::CreatePen(PS_SOLID, 1, border));
    UniqueBrush brush(solidFill ? ::CreateSolidBrush(colorOf(fill)) : nullptr);
    Selected usePen(dc, pen.get());
    Selected useBrush(dc,
                      solidFill ? static_cast<HGDIOBJ>(brush.get()) : ::GetStockObject(NULL_BRUSH));
    const int side = std::min(area.right - area.left, area.bottom - area.top);
    const int x = (area.left + area.right - side) / 2;
    const int y = (area.top + area.bottom - side) / 2;
    ::Ellipse(dc, x, y, x + side, y + side);
}

void drawLine(HDC dc, POINT from, POINT to, const Design& design) {
    const COLORREF colour = design.borderColor ? colorOf(*design.borderColor) : RGB(0, 0, 0);
    edge(dc, from.x, from.y, to.x, to.y, colour);
    ::SetPixel(dc, to.x, to.y, colour);  // the end point shows
}

void drawButton(const DRAWITEMSTRUCT& item, const Shown& shown, HFONT font) {
    const HDC dc = item.hDC;
    const RECT r = item.rcItem;
    const COLORREF face = shown.back ? colorOf(*shown.back) : ::GetSysColor(COLOR_BTNFACE);
    ::SetBkColor(dc, face);
    ::ExtTextOutW(dc, 0, 0, ETO_OPAQUE, &r, nullptr, 0, nullptr);
    const bool sunken = (item.itemState & ODS_SELECTED) != 0;
    // Two-pixel bevel: light above and left, dark below and right; the other
    // way round while pressed.
    const COLORREF light = sunken ? RGB(0x40, 0x40, 0x40) : RGB(0xFF, 0xFF, 0xFF);
    const COLORREF dark = sunken ? RGB(0xFF, 0xFF, 0xFF) : RGB(0x40, 0x40, 0x40);
    const COLORREF lightInner = sunken ? RGB(0x80, 0x80, 0x80) : lighter(face);
    const COLORREF darkInner = sunken ? lighter(face) : RGB(0x80, 0x80, 0x80);
    const int x0 = r.left;
    const int y0 = r.top;
    const int x1 = r.right - 1;
    const int y1 = r.bottom - 1;
    edge(dc, x0, y0, x1, y0, light);
    edge(dc, x0, y0, x0, y1, light);
    edge(dc, x0, y1, x1 + 1, y1, dark);
    edge(dc, x1, y0, x1, y1, dark);
    if (r.right - r.left > 6 && r.bottom - r.top > 6) {
        edge(dc, x0 + 1, y0 + 1, x1 - 1, y0 + 1, lightInner);
        edge(dc, x0 + 1, y0 + 1, x0 + 1, y1 - 1, lightInner);
        edge(dc, x0 + 1, y1 - 1, x1, y1 - 1, darkInner);
        edge(dc, x1 - 1, y0 + 1, x1 - 1, y1 - 1, darkInner);
    }
    RECT text = r;
    if (sunken) {
        ::OffsetRect(&text, 1, 1);
    }
    Selected useFont(dc, font);
    drawText(dc, text, shown.text, DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX,
             (item.itemState & ODS_DISABLED) == 0,
             shown.fore ? colorOf(*shown.fore) : RGB(0, 0, 0));
    if ((item.itemState & ODS_FOCUS) != 0 && r.right - r.left > 12 && r.bottom - r.top > 12) {
        RECT focus = r;
        ::InflateRect(&focus, -3, -3);
        ::DrawFocusRect(dc, &focus);
    }
}

BufferedPaint::BufferedPaint(HWND window)
    : window_(window), screen_(::BeginPaint(window, &paint_)) {
    ::GetClientRect(window, &client_);
    memory_ = ::CreateCompatibleDC(screen_);
    bitmap_.reset(::CreateCompatibleBitmap(screen_, std::max<LONG>(1, client_.right),
                                           std::max<LONG>(1, client_.bottom)));
    oldBitmap_ = ::SelectObject(memory_, bitmap_.get());
}

BufferedPaint::~BufferedPaint() {
    ::BitBlt(screen_, 0, 0, client_.right, client_.bottom, memory_, 0, 0, SRCCOPY);
    ::SelectObject(memory_, oldBitmap_);
    ::DeleteDC(memory_);
    ::EndPaint(window_, &paint_);
}

}  // namespace kazunavi
