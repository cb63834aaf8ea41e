#include "ui/controls/wnd_ui.h"

#include "ui/toolkit/paint_manager_ui.h"

#include <QWidget>

namespace ui {

std::string CWndUI::GetClass() const {
    return "Wnd";
}

void* CWndUI::GetInterface(std::string_view name) {
    return name == "Wnd" ? this : CControlUI::GetInterface(name);
}

void CWndUI::Attach(QWidget* widget) {
    hosted_ = widget;
    Reapply();
}

void CWndUI::SetPos(QRect rect, bool needInvalidate) {
    CControlUI::SetPos(rect, needInvalidate);
    Reapply();
}

void CWndUI::SetVisible(bool visible) {
    CControlUI::SetVisible(visible);
    Reapply();
}

void CWndUI::SetInternVisible(bool visible) {
    CControlUI::SetInternVisible(visible);
    Reapply();
}

void CWndUI::Reapply() {
    if (hosted_ == nullptr) {
        return;
    }
    QWidget* host = manager_ != nullptr ? manager_->GetPaintWindow() : nullptr;
    QRect place = pos_;
    QWidget* parent = hosted_->parentWidget();
    if (host != nullptr && parent != host) {
        // A top-level widget is placed on the screen; one inside another widget in that widget.
        const QPoint onScreen = host->mapToGlobal(pos_.topLeft());
        place.moveTopLeft(parent == nullptr ? onScreen : parent->mapFromGlobal(onScreen));
    }
    hosted_->setGeometry(place);
    hosted_->setVisible(IsVisible());
}

}  // namespace ui
