#pragma once

// An application on the simulated desktop, with real Qt timers and windows.

#include <gtest/gtest.h>

#include <QApplication>
#include <QTest>
#include <algorithm>
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
    QtWindowTest() {
        sim_.windowManager.foreground = Form1::kHandle;  // the lamp stays lit
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

    SimDesktop sim_;
    QtTimerHost timers_;
    QtWindowManager windows_{nullptr};
    Services services_ = sim_.services().with({.timerHost = &timers_});
    std::unique_ptr<Application> app_ = std::make_unique<Application>(services_);
    std::unique_ptr<FormViews> views_ = std::make_unique<FormViews>(*app_, &windows_);
};

// The colour of a pixel of a widget as drawn; whether any pixel has the colour.
inline QColor pixelOf(QWidget* w, QPoint at) {
    return w->grab().toImage().pixelColor(at);
}
inline bool drawsColour(QWidget* w, const QColor& colour) {
    const QImage image = w->grab().toImage().convertToFormat(QImage::Format_RGB32);
    const auto* pixels = reinterpret_cast<const QRgb*>(image.constBits());
    const auto* end = pixels + image.width() * image.height();
    return std::find(pixels, end, colour.rgb()) != end;
}

}  // namespace kazunavi::testing
