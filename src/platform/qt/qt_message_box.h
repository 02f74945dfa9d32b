#pragma once

// Modal message boxes in the numeric styles of the logic.

#include <QWidget>
#include <functional>

#include "platform/services.h"

namespace kazunavi {

// The frame of the program's boxes: the window manager is told to offer a
// title and a close button, and no minimise or maximise button.
inline constexpr Qt::WindowFlags kBoxWindowFlags =
    Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint;

class QtMessageBox : public MessageBoxService {
  public:
    // The window the box belongs to (null: none), asked at every box.
    void setOwner(std::function<QWidget*()> owner) { owner_ = std::move(owner); }
    // Runs before the box opens, so that the windows show the state as it stands.
    void setBeforeShow(std::function<void()> beforeShow) { beforeShow_ = std::move(beforeShow); }

    // Style 48: exclamation icon and OK; style 1: OK and Cancel without an
    // icon; any other style: OK. Returns 1 for OK, 2 for Cancel; closing the
    // box counts as Cancel where there is one, else as OK.
    int show(std::u16string_view prompt, int style, std::u16string_view title) override;

  private:
    std::function<QWidget*()> owner_;
    std::function<void()> beforeShow_;
};

}  // namespace kazunavi
