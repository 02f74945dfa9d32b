#include "platform/qt/qt_window_manager.h"

#include <QApplication>
#include <QCursor>
#include <QGuiApplication>
#include <QMouseEvent>
#include <QWindow>

#include "platform/common/window_text.h"
#include "platform/qt/qt_text.h"
#include "platform/x11/x11_windows.h"

namespace kazunavi {

PointerDrag::PointerDrag(QWidget& window) : window_(&window), grip_(QCursor::pos() - window.pos()) {
    qApp->installEventFilter(this);
}

PointerDrag::~PointerDrag() {
    qApp->removeEventFilter(this);
}

bool PointerDrag::eventFilter(QObject*, QEvent* event) {
    if (!active_) {
        return false;
    }
    switch (event->type()) {
        case QEvent::MouseMove:
            if (window_ && (static_cast<QMouseEvent*>(event)->buttons() & Qt::LeftButton)) {
                window_->move(QCursor::pos() - grip_);
            }
            return true;  // the move loop keeps the pointer to itself
        case QEvent::MouseButtonRelease:
            active_ = false;
            qApp->removeEventFilter(this);
            return true;
        default:
            return false;
    }
}

QtWindowManager::QtWindowManager(X11Windows* x11) : x11_(x11) {}

QtWindowManager::~QtWindowManager() = default;

void QtWindowManager::attach(WindowHandle handle, QWidget* window) {
    windows_[handle] = window;
}

void QtWindowManager::detach(WindowHandle handle) {
    windows_.erase(handle);
}

QWidget* QtWindowManager::windowOf(WindowHandle handle) const {
    auto found = windows_.find(handle);
    return found == windows_.end() ? nullptr : found->second.data();
}

WindowHandle QtWindowManager::foregroundWindow() {
    if (x11_ != nullptr) {
        const auto active = static_cast<WindowHandle>(x11_->activeWindow());
        if (active == 0) {
            return 0;
        }
        for (const auto& [handle, window] : windows_) {
            if (window && window->internalWinId() == active) {
                return handle;
            }
        }
        return active;
    }
    // Without X11 only the program's own windows can be told apart.
    const QWindow* focus = QGuiApplication::focusWindow();
    for (const auto& [handle, window] : windows_) {
        if (window && focus != nullptr && window->windowHandle() == focus) {
            return handle;
        }
    }
    return 0;
}

std::u16string QtWindowManager::windowText(WindowHandle window, int bufferSize) {
    if (bufferSize <= 0) {
        return {};
    }
    std::u16string title;
    if (const QWidget* own = windowOf(window)) {
        title = u16(own->windowTitle());
    } else if (x11_ != nullptr && window != 0) {
        title = x11_->title(window);
    }
    return narrowWindowText(title, bufferSize);
}

void QtWindowManager::keepOnTop(WindowHandle window) {
    QWidget* w = windowOf(window);
    if (w == nullptr) {
        return;
    }
    if (!(w->windowFlags() & Qt::WindowStaysOnTopHint)) {
        const bool shown = w->isVisible();
        w->setWindowFlag(Qt::WindowStaysOnTopHint, true);
        if (shown) {
            w->show();  // a change of flags hides the window
        }
    }
    if (x11_ != nullptr && w->isVisible()) {
        x11_->keepAbove(static_cast<xcb_window_t>(w->winId()));
    }
}

void QtWindowManager::startDrag(WindowHandle window) {
    QWidget* w = windowOf(window);
    if (w == nullptr || (drag_ && drag_->active())) {
        return;
    }
    drag_.reset();
    if (QWindow* native = w->windowHandle(); native != nullptr && native->startSystemMove()) {
        // The window manager keeps the button's release to itself; Qt would
        // go on sending every later mouse event to the element that was
        // pressed. The press ends here instead, once the handler is done.
        const QPointF global = QCursor::pos();
        QCoreApplication::postEvent(
            native, new QMouseEvent(QEvent::MouseButtonRelease, native->mapFromGlobal(global),
                                    global, Qt::LeftButton, Qt::NoButton, Qt::NoModifier));
        return;
    }
    // No move loop of the window manager: the window follows the pointer.
    drag_ = std::make_unique<PointerDrag>(*w);
}

}  // namespace kazunavi
