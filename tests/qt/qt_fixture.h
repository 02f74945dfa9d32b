#pragma once

// An application on the simulated desktop, with real Qt timers and windows.

#include <gtest/gtest.h>

#include <QApplication>
#include <QTest>
#include <memory>

#include "platform/qt/qt_timer_host.h"
#include "platform/qt/qt_window_manager.h"
#include "platform/sim/sim_desktop.h"
#include "shell/application.h"
#include "ui/qt/element_views.h"
#include "ui/qt/form_views.h"

namespace kazunavi::testing {

class QtWindowTest : public ::testing::Test {
  protected:
    QtWindowTest()
        : services_{sim_.messageBox,     sim_.clipboard,     sim_.browser,
                    sim_.windowManager,  sim_.profile,       sim_.clock,
                    sim_.beeper,         sim_.instanceCheck, sim_.services().programFolder,
                    sim_.browserWindows, sim_.programExit,   timers_} {
        // Let the lamp stay lit until a test says otherwise.
        sim_.windowManager.foreground = Form1::kHandle;
        app_ = std::make_unique<Application>(services_);
        views_ = std::make_unique<FormViews>(*app_, &windows_);
        timers_.setTick([this](Timer& t) { views_->tick(t); });
    }
    ~QtWindowTest() override {
        views_.reset();
        app_.reset();
        QApplication::processEvents();  // the views' deferred deletions
    }

    void start() {
        app_->start();
        views_->syncAll();
    }
    Form1& f() { return app_->form1(); }
    FormView& view() { return views_->mainView(); }
    QWidget* widget(const char* name) {
        QWidget* w = view().widgetOf(name);
        EXPECT_NE(w, nullptr) << name;
        return w;
    }
    ElementView* elementView(const char* name) { return view().viewOf(widget(name)); }

    SimDesktop sim_;
    QtTimerHost timers_;
    QtWindowManager windows_{nullptr};
    Services services_;
    std::unique_ptr<Application> app_;
    std::unique_ptr<FormViews> views_;
};

// The colour of a pixel of a widget as drawn.
inline QColor pixelOf(QWidget* w, QPoint at) {
    return w->grab().toImage().pixelColor(at);
}

// Whether some pixel of the widget has the colour.
inline bool drawsColour(QWidget* w, const QColor& colour) {
    const QImage image = w->grab().toImage();
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (image.pixelColor(x, y).rgb() == colour.rgb()) {
                return true;
            }
        }
    }
    return false;
}

}  // namespace kazunavi::testing
