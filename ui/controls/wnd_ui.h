#pragma once

#include "ui/toolkit/control_ui.h"

#include <QPointer>
#include <QWidget>

// CWndUI: a place in a skin for a native widget. The widget follows the control's rectangle (in
// screen coordinates when it is not a child of the control's window) and is shown exactly while
// the control is visible. The control does not own the widget.
//
// Thread: the UI thread only.

namespace ui {

class CWndUI : public CControlUI {
public:
    std::string GetClass() const override;
    void* GetInterface(std::string_view name) override;

    // Hosts the widget (nullptr: none) and places it at once.
    void Attach(QWidget* widget);
    QWidget* GetHostedWindow() const { return hosted_; }

    void SetPos(QRect rect, bool needInvalidate = true) override;
    void SetVisible(bool visible = true) override;
    void SetInternVisible(bool visible = true) override;

private:
    void Reapply();

    QPointer<QWidget> hosted_;
};

}  // namespace ui
