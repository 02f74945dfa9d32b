#pragma once

// One window of the model on Windows: a top-level window whose surface, and
// the surfaces of its panels, paint the labels, shapes, lines and pictures,
// with a native control for every other element that is shown. Mouse events
// of the bare surfaces and of the painted labels, and what the controls
// report, go to the dispatch; sync() brings everything in line with the model.

#include <windows.h>

#include <functional>
#include <map>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "shell/model/events.h"
#include "shell/model/window.h"
#include "ui/common/window_sync.h"
#include "ui/win32/element_window.h"
#include "ui/win32/gdi.h"
#include "ui/win32/painting.h"

namespace kazunavi {

// The pictures of a window's elements and of its surface (""), by name.
using Pictures = std::map<std::string, Picture>;

class FormWindow {
  public:
    // An event of the window: target is the window's name for its bare
    // surface, else the element's name, with the prefix of elements that do
    // not belong to the main window ("Form2.Label2").
    using Dispatch = std::function<void(const std::string& target, Event event, int button)>;

    struct Frame {
        std::wstring title;
        bool dialog = false;  // a fixed frame with a title and a close box; else none
        bool topMost = false;
        HICON icon = nullptr;  // not owned
    };

    // Throws Failure when the window cannot be made.
    FormWindow(Window& model, std::string targetPrefix, Pictures pictures, Dispatch dispatch,
               const Frame& frame);
    FormWindow(const FormWindow&) = delete;
    FormWindow& operator=(const FormWindow&) = delete;
    ~FormWindow();

    HWND handle() const { return window_.get(); }
    bool isVisible() const { return ::IsWindowVisible(window_.get()) != FALSE; }
    // The system asks to close the window (the close box, the window manager).
    void onCloseRequest(std::function<void()> close) { closeRequested_ = std::move(close); }

    // Brings the window and every element in line with the model; true when
    // anything changed on the screen.
    bool sync();
    // The model goes away: the window hides and never reads it again.
    void detach();
    // The text boxes' selections, which the controls do not report, into the model.
    void pullSelections();
    // Whether the element is shown enabled, with its container.
    bool enabled(std::string_view elementName) const;

  private:
    struct Surface {
        HWND window;
        std::string container;  // "" for the window itself
        std::string target;
        const Picture* picture;
        ElementWindow* panel;  // the panel element; none for the window itself
    };

    static LRESULT CALLBACK surfaceProcedure(HWND window, UINT message, WPARAM wParam,
                                             LPARAM lParam);
    static LRESULT CALLBACK controlProcedure(HWND window, UINT message, WPARAM wParam,
                                             LPARAM lParam, UINT_PTR id, DWORD_PTR data);
    LRESULT handle(Surface& surface, UINT message, WPARAM wParam, LPARAM lParam);
    std::optional<LRESULT> command(WPARAM wParam, LPARAM lParam);
    std::optional<LRESULT> colours(HDC dc, HWND control);
    void build();
    HWND createSurface(HWND parent, DWORD style, DWORD exStyle, const std::wstring& title);
    HWND createControl(const Element& e, ViewKind kind, HWND parent);
    void paint(Surface& surface);
    void mouse(Surface& surface, UINT message, WPARAM wParam, LPARAM lParam);
    void placeWindow(bool centre);
    void dpiChanged(int dpi, const RECT& suggested);
    void send(const std::string& target, Event event, int button);
    Surface* surfaceOf(HWND window);
    ElementWindow* viewOf(HWND control);
    ElementWindow* viewNamed(std::string_view name) const;

    Window* model_;
    std::string prefix_;
    Pictures pictures_;
    Dispatch dispatch_;
    Frame frame_;
    std::function<void()> closeRequested_;
    UniqueWindow window_;
    HWND tooltips_ = nullptr;  // a child of the window: goes with it
    int dpi_ = 96;
    FontBook fonts_;
    BrushBook brushes_;
    std::vector<std::unique_ptr<ElementWindow>> views_;
    std::vector<Surface> surfaces_;
    WindowSync shown_;
    // The press on a bare surface or a painted label that the mouse holds.
    std::string pressed_;
    RECT pressedArea_{};
    HWND pressedSurface_ = nullptr;
};

}  // namespace kazunavi
