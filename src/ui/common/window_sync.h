#pragma once

// What a window of the model shows of the window itself, kept apart from
// the toolkit: its size, whether it is shown, and the focused element. Each
// sync says what differs from the last one.

#include <cstdint>
#include <optional>
#include <string>
#include <utility>

#include "shell/model/window.h"

namespace kazunavi {

struct WindowChanges {
    bool size = false;
    bool visible = false;
    // Shown for the first time: it opens centred on the screen.
    bool firstShown = false;
    // The element that now has the focus, where the model moved it.
    bool focus = false;
};

class WindowSync {
  public:
    WindowChanges sync(const Window& model);
    // The size in twips and whether the window is shown, as last synced.
    int width() const { return width_; }
    int height() const { return height_; }
    bool visible() const { return visible_; }
    const std::string& focus() const { return focus_; }
    // The user moved the focus: the model has it already.
    void focusTaken(std::string element) { focus_ = std::move(element); }
    // Whether any element changed since the last call (true at the first):
    // most ticks change nothing, and then no element's view is looked at.
    bool elementsChanged(const Window& model) {
        return std::exchange(seenRevision_, model.revision()) != model.revision();
    }

  private:
    int width_ = -1;
    int height_ = -1;
    bool visible_ = false;
    bool placed_ = false;
    std::string focus_;
    std::optional<std::uint64_t> seenRevision_;  // none: never synced
};

}  // namespace kazunavi
