#pragma once

// A connection to the X server of the test's desktop, and windows made on it.

#include <gtest/gtest.h>
#include <xcb/xcb.h>

#include <cstring>
#include <memory>

#include "platform/x11/x11_connection.h"

namespace kazunavi::testing {

class X11Test : public ::testing::Test {
  protected:
    void SetUp() override { ASSERT_NE(x11_, nullptr) << "needs an X display"; }
    xcb_window_t makeWindow(const char* netName = nullptr, const char* wmName = nullptr) {
        const xcb_window_t w = xcb_generate_id(c_);
        xcb_create_window(c_, XCB_COPY_FROM_PARENT, w, x11_->root(), 10, 10, 50, 20, 0,
                          XCB_WINDOW_CLASS_INPUT_OUTPUT, XCB_COPY_FROM_PARENT, 0, nullptr);
        for (const char* name : {netName, wmName}) {
            if (name != nullptr) {
                const bool net = name == netName;
                xcb_change_property(c_, XCB_PROP_MODE_REPLACE, w,
                                    x11_->atom(net ? "_NET_WM_NAME" : "WM_NAME"),
                                    x11_->atom(net ? "UTF8_STRING" : "STRING"), 8,
                                    static_cast<std::uint32_t>(std::strlen(name)), name);
            }
        }
        xcb_flush(c_);
        return w;
    }

    std::unique_ptr<X11Connection> x11_ = X11Connection::open();
    xcb_connection_t* c_ = x11_ ? x11_->get() : nullptr;
};

}  // namespace kazunavi::testing
