#pragma once

// Keys that reach the program while another program has the focus: grabbed
// on the root window, in every state of Num Lock and Caps Lock, on a
// connection of their own whose only events are those keys.

#include <xcb/xcb.h>

#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

#include "platform/x11/x11_connection.h"

namespace kazunavi {

struct KeyChord {
    std::uint32_t keysym = 0;
    std::uint16_t modifiers = 0;  // X modifier mask: Shift, Control, Mod1 (Alt), Mod4 (Super)
};

// "Ctrl+Alt+Page_Down": modifiers (Shift, Ctrl, Alt, Super) and one key (a
// letter, a digit, F1-F12 or one of the named keys), letter case aside;
// nullopt for anything else.
std::optional<KeyChord> parseKeyChord(std::string_view text);

class GlobalKeys {
  public:
    explicit GlobalKeys(X11Connection& connection) : connection_(connection) {}
    GlobalKeys(const GlobalKeys&) = delete;
    GlobalKeys& operator=(const GlobalKeys&) = delete;

    // Grabs the chord under the id; false when the keyboard has no such key
    // or another program holds the chord already.
    bool grab(int id, KeyChord chord);
    // The ids of the grabbed chords pressed since the last call, in order.
    std::vector<int> pressed();
    int fileDescriptor() const { return xcb_get_file_descriptor(connection_.get()); }

  private:
    std::optional<xcb_keycode_t> keycodeOf(std::uint32_t keysym);

    struct Grab {
        int id;
        xcb_keycode_t keycode;
        std::uint16_t modifiers;
    };
    X11Connection& connection_;
    std::vector<Grab> grabs_;
};

}  // namespace kazunavi
