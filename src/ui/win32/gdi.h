#pragma once

// Owners of the drawing objects and windows the window code makes: each is
// given back to the system with its owner.

#include <windows.h>

#include <utility>

namespace kazunavi {

// A pen, brush, font or bitmap, deleted with its owner.
template <class Handle>
class GdiObject {
  public:
    GdiObject() = default;
    explicit GdiObject(Handle handle) : handle_(handle) {}
    GdiObject(GdiObject&& other) noexcept : handle_(std::exchange(other.handle_, nullptr)) {}
    GdiObject& operator=(GdiObject&& other) noexcept {
        if (this != &other) {
            reset(std::exchange(other.handle_, nullptr));
        }
        return *this;
    }
    GdiObject(const GdiObject&) = delete;
    GdiObject& operator=(const GdiObject&) = delete;
    ~GdiObject() { reset(nullptr); }

    Handle get() const { return handle_; }
    explicit operator bool() const { return handle_ != nullptr; }
    void reset(Handle handle) {
        if (handle_ != nullptr) {
            ::DeleteObject(handle_);
        }
        handle_ = handle;
    }

  private:
    Handle handle_ = nullptr;
};

using UniqueFont = GdiObject<HFONT>;
using UniqueBrush = GdiObject<HBRUSH>;
using UniquePen = GdiObject<HPEN>;
using UniqueBitmap = GdiObject<HBITMAP>;

// A window, destroyed with its owner.
class UniqueWindow {
  public:
    UniqueWindow() = default;
    explicit UniqueWindow(HWND window) : window_(window) {}
    UniqueWindow(UniqueWindow&& other) noexcept : window_(std::exchange(other.window_, nullptr)) {}
    UniqueWindow& operator=(UniqueWindow&& other) noexcept {
        if (this != &other) {
            reset();
            window_ = std::exchange(other.window_, nullptr);
        }
        return *this;
    }
    UniqueWindow(const UniqueWindow&) = delete;
    UniqueWindow& operator=(const UniqueWindow&) = delete;
    ~UniqueWindow() { reset(); }

    HWND get() const { return window_; }
    void reset() {
        if (window_ != nullptr) {
            ::DestroyWindow(std::exchange(window_, nullptr));
        }
    }

  private:
    HWND window_ = nullptr;
};

// An icon loaded from the program's resources, destroyed with its owner.
class UniqueIcon {
  public:
    UniqueIcon() = default;
    explicit UniqueIcon(HICON icon) : icon_(icon) {}
    UniqueIcon(UniqueIcon&& other) noexcept : icon_(std::exchange(other.icon_, nullptr)) {}
    UniqueIcon& operator=(UniqueIcon&&) = delete;
    UniqueIcon(const UniqueIcon&) = delete;
    UniqueIcon& operator=(const UniqueIcon&) = delete;
    ~UniqueIcon() {
        if (icon_ != nullptr) {
            ::DestroyIcon(icon_);
        }
    }
    HICON get() const { return icon_; }

  private:
    HICON icon_ = nullptr;
};

// An object selected into a device context for a scope.
class Selected {
  public:
    Selected(HDC dc, HGDIOBJ object) : dc_(dc), old_(::SelectObject(dc, object)) {}
    Selected(const Selected&) = delete;
    Selected& operator=(const Selected&) = delete;
    ~Selected() { ::SelectObject(dc_, old_); }

  private:
    HDC dc_;
    HGDIOBJ old_;
};

// A window's painting between BeginPaint and EndPaint, drawn first into a
// bitmap of its size and copied at the end, so that nothing flickers.
class BufferedPaint {
  public:
    explicit BufferedPaint(HWND window);
    BufferedPaint(const BufferedPaint&) = delete;
    BufferedPaint& operator=(const BufferedPaint&) = delete;
    ~BufferedPaint();

    HDC dc() const { return memory_; }
    const RECT& area() const { return client_; }

  private:
    HWND window_;
    PAINTSTRUCT paint_{};
    HDC screen_;
    RECT client_{};
    HDC memory_;
    UniqueBitmap bitmap_;
    HGDIOBJ oldBitmap_;
};

}  // namespace kazunavi
