#pragma once

#include "tests/support/skin_test_env.h"
#include "ui/toolkit/host_widget.h"
#include "ui/toolkit/paint_manager_ui.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QTimer>
#include <QWidget>

#include <functional>
#include <memory>
#include <string>

// Driving a modal window from its test: the test arms WhenShown before the call that runs the
// modal loop; the action then runs inside that loop as soon as a window of the class is visible,
// and answers it the way a user would (a click notification on a button).

// The visible window of that class name, or nullptr.
inline ui::CHostWidget* ShownWindow(const std::string& className) {
    for (QWidget* widget : QApplication::topLevelWidgets()) {
        auto* host = dynamic_cast<ui::CHostWidget*>(widget);
        if (host != nullptr && host->isVisible() && host->GetPaintManager() != nullptr &&
            host->objectName() == QString::fromStdString(className)) {
            return host;
        }
    }
    return nullptr;
}

// Checks every few milliseconds, from the running loop, until the window is shown, then runs the
// action once with it. The check gives up after timeoutMs so a window that never shows cannot
// leave a stray action behind.
inline void WhenShown(const std::string& className, std::function<void(ui::CHostWidget&)> action,
                      int timeoutMs = 5000) {
    auto* timer = new QTimer();
    auto waited = std::make_shared<int>(0);
    QObject::connect(timer, &QTimer::timeout, [timer, waited, className, action, timeoutMs] {
        *waited += timer->interval();
        ui::CHostWidget* host = ShownWindow(className);
        if (host == nullptr && *waited < timeoutMs) {
            return;
        }
        timer->stop();
        timer->deleteLater();
        if (host == nullptr) {
            ADD_FAILURE() << "no window '" << className << "' was shown";
            return;
        }
        action(*host);
    });
    timer->start(5);
}

// Lays the window out and writes it to $NORVIK_TEST_OUTPUT/name; false when it cannot.
inline bool SaveRender(ui::CHostWidget& host, const std::string& name) {
    return SaveRender(*host.GetPaintManager(), host, name);
}
