#include "ui/toolkit/combo_ui.h"

#include "ui/toolkit/paint_manager_ui.h"
#include "ui/toolkit/render_engine.h"
#include "ui/toolkit/ui_parse.h"

#include <QMenu>
#include <QPainter>
#include <QPainterPath>

namespace ui {
std::string CComboUI::GetClass() const {
    return "Combo";
}

void* CComboUI::GetInterface(std::string_view name) {
    if (name == "IListOwner") {
        return static_cast<IListOwnerUI*>(this);
    }
    return name == "Combo" ? this : CContainerUI::GetInterface(name);
}

bool CComboUI::Add(CControlUI* control) {
    return AddAt(control, GetCount());
}

bool CComboUI::AddAt(CControlUI* control, int index) {
    if (!CContainerUI::AddAt(control, index)) {
        return false;
    }
    if (IListItemUI* item = AsListItem(control)) {
        item->SetOwner(this);
    }
    // The elements live in the popup, never inside the combo's own rectangle.
    control->SetInternVisible(false);
    if (curSel_ >= index) {
        ++curSel_;
    }
    ReindexListItems(*this);
    return true;
}

bool CComboUI::RemoveAt(int index, bool doNotDestroy) {
    if (!CContainerUI::RemoveAt(index, doNotDestroy)) {
        return false;
    }
    curSel_ = SelectionAfterRemoval(curSel_, index);
    ReindexListItems(*this);
    return true;
}

void CComboUI::RemoveAll() {
    curSel_ = -1;
    CContainerUI::RemoveAll();
}

bool CComboUI::SelectItem(int index, bool takeFocus) {
    return SelectItem(index, takeFocus, true);
}

bool CComboUI::SelectItem(int index, bool, bool triggerEvent) {
    if (index == curSel_) {
        return true;
    }
    if (index < -1 || index >= GetCount()) {
        return false;
    }
    const int old = curSel_;
    curSel_ = index;
    if (IListItemUI* previous = AsListItem(GetItemAt(old))) {
        previous->Select(false);
    }
    if (IListItemUI* item = AsListItem(GetItemAt(index))) {
        item->Select(true);
    }
    if (manager_ != nullptr && triggerEvent) {
        manager_->SendNotify(this, kNotifyItemSelect, static_cast<WPARAM>(curSel_), old);
    }
    Invalidate();
    return true;
}

std::string CComboUI::GetText() const {
    const CControlUI* item = GetItemAt(curSel_);
    return item != nullptr ? item->GetText() : CContainerUI::GetText();
}

void CComboUI::ShowDropDown() {
    if (manager_ == nullptr || manager_->GetPaintWindow() == nullptr || GetCount() == 0) {
        return;
    }
    QWidget* host = manager_->GetPaintWindow();
    QMenu menu(host);
    menu.setFont(manager_->GetFont(info_.font));
    menu.setMinimumWidth(pos_.width());
    const int itemHeight = Scaled(32);
    menu.setStyleSheet(QString("QMenu { background: #1E2128; border: 1px solid #2E333D; padding: %1px 0; }"
                               "QMenu::item { color: #E6E8EB; padding: 0 %2px; min-height: %3px; }"
                               "QMenu::item:selected { background: #0099FF; color: #FFFFFF; }"
                               "QMenu::item:checked { color: #0099FF; }")
                           .arg(Scaled(4))
                           .arg(Scaled(12))
                           .arg(itemHeight));
    for (int i = 0; i < GetCount(); ++i) {
        QAction* action = menu.addAction(QString::fromStdString(GetItemAt(i)->GetText()));
        action->setData(i);
        action->setEnabled(GetItemAt(i)->IsEnabled());
        action->setCheckable(true);
        action->setChecked(i == curSel_);
    }
    pushed_ = true;
    Invalidate();
    QAction* chosen = menu.exec(host->mapToGlobal(QPoint(pos_.left(), pos_.bottom() + 2)));
    pushed_ = false;
    hot_ = false;
    Invalidate();
    if (chosen != nullptr) {
        SelectItem(chosen->data().toInt());
    }
}

void CComboUI::SetPos(QRect rect, bool needInvalidate) {
    CControlUI::SetPos(rect, needInvalidate);
}

// The elements stay hidden whatever the combo's own visibility.
void CComboUI::SetVisible(bool visible) {
    CControlUI::SetVisible(visible);
}

void CComboUI::SetInternVisible(bool visible) {
    CControlUI::SetInternVisible(visible);
}

CControlUI* CComboUI::FindControlAt(QPoint point) {
    return IsVisible() && pos_.contains(point) && IsMouseEnabled() ? this : nullptr;
}

void CComboUI::SetAttribute(std::string_view name, std::string_view value) {
    const std::string key = ToLower(name);
    const std::string text(value);
    if (info_.SetAttribute(name, value)) {
    } else if (key == "textpadding") {
        textPadding_ = ParseMargins(value);
    } else if (key == "textcolor") {
        textColor_ = ParseColor(value);
    } else if (key == "disabledtextcolor") {
        disabledTextColor_ = ParseColor(value);
    } else if (key == "font") {
        font_ = ParseInt(value, -1);
    } else if (key == "hotbkcolor") {
        hotBkColor_ = ParseColor(value);
    } else if (key == "pushedbkcolor") {
        pushedBkColor_ = ParseColor(value);
    } else if (key == "disabledbkcolor") {
        disabledBkColor_ = ParseColor(value);
    } else if (key == "normalimage") {
        normalImage_ = text;
    } else if (key == "hotimage") {
        hotImage_ = text;
    } else if (key == "pushedimage") {
        pushedImage_ = text;
    } else if (key == "disabledimage") {
        disabledImage_ = text;
    } else if (key == "dropboxsize") {
        dropHeight_ = ParseSize(value).height();
    } else if (key == "selectedid") {
        SelectItem(ParseInt(value, -1));
    } else {
        CContainerUI::SetAttribute(name, value);
        return;
    }
    Invalidate();
}

void CComboUI::DoEvent(TEventUI& event) {
    if (!IsEnabled()) {
        return;
    }
    switch (event.Type) {
        case EventType::MouseEnter:
            hot_ = true;
            Invalidate();
            return;
        case EventType::MouseLeave:
            hot_ = false;
            Invalidate();
            return;
        case EventType::ButtonDown:
            return;
        case EventType::ButtonUp:
            if (pos_.contains(event.ptMouse)) {
                ShowDropDown();
            }
            return;
        case EventType::ScrollWheel:
            SelectItem(std::clamp(curSel_ + (event.key > 0 ? -1 : 1), 0, GetCount() - 1));
            return;
        case EventType::KeyDown:
            if (event.key == Qt::Key_Up && curSel_ > 0) {
                SelectItem(curSel_ - 1);
            } else if (event.key == Qt::Key_Down && curSel_ + 1 < GetCount()) {
                SelectItem(curSel_ + 1);
            } else if (event.key == Qt::Key_Space || event.key == Qt::Key_Return) {
                ShowDropDown();
            }
            return;
        default:
            CControlUI::DoEvent(event);
            return;
    }
}

void CComboUI::DoPaint(QPainter& painter, const QRect& paintRect) {
    if (!paintRect.intersects(pos_) || manager_ == nullptr) {
        return;
    }
    std::uint32_t colour = bkColor_;
    const std::string* image = &normalImage_;
    if (!IsEnabled()) {
        colour = disabledBkColor_ != 0 ? disabledBkColor_ : colour;
        image = disabledImage_.empty() ? image : &disabledImage_;
    } else if (pushed_) {
        colour = pushedBkColor_ != 0 ? pushedBkColor_ : colour;
        image = pushedImage_.empty() ? image : &pushedImage_;
    } else if (hot_) {
        colour = hotBkColor_ != 0 ? hotBkColor_ : colour;
        image = hotImage_.empty() ? image : &hotImage_;
    }
    const QSize round = manager_->GetDPIObj().Scale(borderRound_);
    CRenderEngine::DrawColor(painter, pos_, colour, round);
    DrawImage(painter, *image);
    CRenderEngine::DrawText(painter, pos_.marginsRemoved(manager_->GetDPIObj().Scale(textPadding_)),
                            GetText(), IsEnabled() ? textColor_ : disabledTextColor_,
                            manager_->GetFont(font_), DT_VCENTER | DT_SINGLELINE | DT_END_ELLIPSIS);
    // Chevron in line-drawing style.
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    const double size = Scaled(4);
    const QPointF centre(pos_.right() - Scaled(14), pos_.center().y() + 1);
    QPainterPath chevron;
    chevron.moveTo(centre + QPointF(-size, -size / 2));
    chevron.lineTo(centre + QPointF(0, size / 2));
    chevron.lineTo(centre + QPointF(size, -size / 2));
    QPen pen(ToQColor(IsEnabled() ? (hot_ || pushed_ ? 0xFF0099FF : 0xFF9AA0AA) : disabledTextColor_),
             std::max(1.5, Scaled(3) / 2.0));
    pen.setCapStyle(Qt::RoundCap);
    pen.setJoinStyle(Qt::RoundJoin);
    painter.setPen(pen);
    painter.drawPath(chevron);
    painter.restore();
    const std::uint32_t border = (hot_ || pushed_) && IsEnabled() ? 0xFF0099FF : borderColor_;
    CRenderEngine::DrawBorder(painter, pos_, std::max(1, Scaled(borderSize_)), border, round);
}

}  // namespace ui
