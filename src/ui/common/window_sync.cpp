#include "ui/common/window_sync.h"

namespace kazunavi {

WindowChanges WindowSync::sync(const Window& model) {
    WindowChanges changes;
    if (model.width != width_ || model.height != height_) {
        width_ = model.width;
        height_ = model.height;
        changes.size = true;
    }
    if (model.visible != visible_) {
        visible_ = model.visible;
        changes.visible = true;
        if (visible_ && !placed_) {
            placed_ = true;
            changes.firstShown = true;
        }
    }
    if (model.focused() != focus_) {
        focus_ = model.focused();
        changes.focus = true;
    }
    return changes;
}

}  // namespace kazunavi
