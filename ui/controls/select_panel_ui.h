#pragma once

#include "ui/toolkit/vertical_layout_ui.h"

#include <QPoint>
#include <QRect>

// CSelectPanelUI: a panel of key buttons with rubber-band selection. Pressing the left button on
// the panel (while it is enabled) starts a band at that point; moving stretches it; releasing
// selects every child key button ("DeviceKeyButton") the band touches, unselects the others,
// repaints and sends "click_select_end", even when the band touched nothing.
//
// Thread: the UI thread only.

namespace ui {

inline constexpr const char kNotifyClickSelectEnd[] = "click_select_end";

class CSelectPanelUI : public CVerticalLayoutUI {
public:
    std::string GetClass() const override;
    void* GetInterface(std::string_view name) override;

    // The band in window pixels, normalised (empty before the first move).
    QRect GetSelectionRect() const { return selection_; }
    bool IsDragging() const { return dragging_; }

    void DoEvent(TEventUI& event) override;
    void DoPaint(QPainter& painter, const QRect& paintRect) override;

private:
    void ApplySelection();

    QRect selection_;
    QPoint start_;
    bool buttonDown_ = false;
    bool dragging_ = false;
};

}  // namespace ui
