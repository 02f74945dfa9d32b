#pragma once

// The window manager as the logic sees it. The logic compares window handles:
// the main window's handle is Form1::kHandle and the about box's
// Form2::kHandle, whatever their native ids; other windows keep their X11 ids.

#include <QObject>
#include <QPoint>
#include <QPointer>
#include <QWidget>
#include <map>
#include <memory>

#include "platform/services.h"

namespace kazunavi {

class X11Windows;

// Moves a window with the pointer while the left button stays down: the drag
// of a frameless window where the window manager offers no move loop.
class PointerDrag : public QObject {
    Q_OBJECT
  public:
    explicit PointerDrag(QWidget& window);
    ~PointerDrag() override;
    bool active() const { return active_; }

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    QPointer<QWidget> window_;
    QPoint grip_;  // the pointer's place in the window
    bool active_ = true;
};

class QtWindowManager : public WindowManager {
  public:
    // x11 may be null (no X11 display): then only our own windows are known.
    explicit QtWindowManager(X11Windows* x11);
    ~QtWindowManager() override;

    void attach(WindowHandle handle, QWidget* window);
    void detach(WindowHandle handle);

    WindowHandle foregroundWindow() override;
    std::u16string windowText(WindowHandle window, int bufferSize) override;
    void keepOnTop(WindowHandle window) override;
    // Starts the window manager's move loop and returns at once; the window
    // follows the pointer until the button is released.
    void startDrag(WindowHandle window) override;

  private:
    QWidget* windowOf(WindowHandle handle) const;

    X11Windows* x11_;
    std::map<WindowHandle, QPointer<QWidget>> windows_;
    std::unique_ptr<PointerDrag> drag_;
};

}  // namespace kazunavi
