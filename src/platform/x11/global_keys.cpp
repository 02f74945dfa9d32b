#include "platform/x11/global_keys.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <string>
#include <utility>

namespace kazunavi {

namespace {

constexpr std::uint16_t kLock = XCB_MOD_MASK_LOCK;
constexpr std::uint16_t kNumLock = XCB_MOD_MASK_2;

constexpr std::array<std::pair<std::string_view, std::uint16_t>, 5> kModifiers = {{
    {"shift", XCB_MOD_MASK_SHIFT},
    {"ctrl", XCB_MOD_MASK_CONTROL},
    {"control", XCB_MOD_MASK_CONTROL},
    {"alt", XCB_MOD_MASK_1},
    {"super", XCB_MOD_MASK_4},
}};

constexpr std::array<std::pair<std::string_view, std::uint32_t>, 14> kNamedKeys = {{
    {"page_up", 0xff55},
    {"page_down", 0xff56},
    {"left", 0xff51},
    {"up", 0xff52},
    {"right", 0xff53},
    {"down", 0xff54},
    {"home", 0xff50},
    {"end", 0xff57},
    {"insert", 0xff63},
    {"delete", 0xffff},
    {"space", 0x20},
    {"pause", 0xff13},
    {"kp_add", 0xffab},
    {"kp_subtract", 0xffad},
}};

std::string lowered(std::string_view text) {
    std::string out(text);
    std::transform(out.begin(), out.end(), out.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return out;
}

std::optional<std::uint32_t> keysymOf(const std::string& key) {
    if (key.size() == 1 && std::isalnum(static_cast<unsigned char>(key[0]))) {
        return static_cast<std::uint32_t>(key[0]);  // Latin-1 keysyms are the characters
    }
    if (key.size() >= 2 && key.size() <= 3 && key[0] == 'f' &&
        std::all_of(key.begin() + 1, key.end(), [](char c) { return c >= '0' && c <= '9'; })) {
        const int n = std::stoi(key.substr(1));
        if (n >= 1 && n <= 12) {
            return 0xffbe + static_cast<std::uint32_t>(n - 1);
        }
    }
    for (const auto& [name, keysym] : kNamedKeys) {
        if (key == name) {
            return keysym;
        }
    }
    return std::nullopt;
}

}  // namespace

std::optional<KeyChord> parseKeyChord(std::string_view text) {
    KeyChord chord;
    while (true) {
        const std::size_t plus = text.find('+', 1);
        const std::string word = lowered(text.substr(0, plus));
        if (plus == std::string_view::npos) {
            const std::optional<std::uint32_t> keysym = keysymOf(word);
            if (!keysym) {
                return std::nullopt;
            }
            chord.keysym = *keysym;
            return chord;
        }
        const auto modifier = std::find_if(kModifiers.begin(), kModifiers.end(),
                                           [&](const auto& m) { return m.first == word; });
        if (modifier == kModifiers.end()) {
            return std::nullopt;
        }
        chord.modifiers |= modifier->second;
        text.remove_prefix(plus + 1);
    }
}

std::optional<xcb_keycode_t> GlobalKeys::keycodeOf(std::uint32_t keysym) {
    xcb_connection_t* c = connection_.get();
    const xcb_setup_t* setup = xcb_get_setup(c);
    const int count = setup->max_keycode - setup->min_keycode + 1;
    XcbReply<xcb_get_keyboard_mapping_reply_t> mapping(xcb_get_keyboard_mapping_reply(
        c, xcb_get_keyboard_mapping(c, setup->min_keycode, static_cast<std::uint8_t>(count)),
        nullptr));
    if (!mapping || mapping->keysyms_per_keycode == 0) {
        return std::nullopt;
    }
    const xcb_keysym_t* keysyms = xcb_get_keyboard_mapping_keysyms(mapping.get());
    const int length = xcb_get_keyboard_mapping_keysyms_length(mapping.get());
    for (int i = 0; i < length; ++i) {
        if (keysyms[i] == keysym) {
            return static_cast<xcb_keycode_t>(setup->min_keycode +
                                              i / mapping->keysyms_per_keycode);
        }
    }
    return std::nullopt;
}

bool GlobalKeys::grab(int id, KeyChord chord) {
    const std::optional<xcb_keycode_t> keycode = keycodeOf(chord.keysym);
    if (!keycode) {
        return false;
    }
    xcb_connection_t* c = connection_.get();
    bool taken = true;
    for (std::uint16_t locks :
         {std::uint16_t{0}, kLock, kNumLock, std::uint16_t(kLock | kNumLock)}) {
        XcbReply<xcb_generic_error_t> error(xcb_request_check(
            c, xcb_grab_key_checked(c, 0, connection_.root(), chord.modifiers | locks, *keycode,
                                    XCB_GRAB_MODE_ASYNC, XCB_GRAB_MODE_ASYNC)));
        taken = taken && !error;
    }
    if (!taken) {
        xcb_ungrab_key(c, *keycode, connection_.root(), XCB_MOD_MASK_ANY);
        xcb_flush(c);
        return false;
    }
    grabs_.push_back({id, *keycode, chord.modifiers});
    return true;
}

std::vector<int> GlobalKeys::pressed() {
    std::vector<int> ids;
    while (XcbReply<xcb_generic_event_t> event{xcb_poll_for_event(connection_.get())}) {
        if ((event->response_type & 0x7F) != XCB_KEY_PRESS) {
            continue;
        }
        const auto* key = reinterpret_cast<const xcb_key_press_event_t*>(event.get());
        const std::uint16_t state = key->state & ~(kLock | kNumLock);
        for (const Grab& g : grabs_) {
            if (g.keycode == key->detail && g.modifiers == state) {
                ids.push_back(g.id);
            }
        }
    }
    return ids;
}

}  // namespace kazunavi
