#include "ui/toolkit/container_ui.h"

#include "ui/toolkit/paint_manager_ui.h"
#include "ui/toolkit/render_engine.h"
#include "ui/toolkit/ui_parse.h"

#include <QPainter>

#include <algorithm>

namespace ui {

CContainerUI::~CContainerUI() {
    for (CControlUI* item : items_) {
        if (autoDestroy_) {
            delete item;
        }
    }
}

std::string CContainerUI::GetClass() const {
    return "Container";
}

void* CContainerUI::GetInterface(std::string_view name) {
    if (name == "Container" || name == "IContainer") {
        return this;
    }
    return CControlUI::GetInterface(name);
}

CControlUI* CContainerUI::GetItemAt(int index) const {
    return index >= 0 && index < GetCount() ? items_[static_cast<std::size_t>(index)] : nullptr;
}

int CContainerUI::GetItemIndex(CControlUI* control) const {
    const auto it = std::find(items_.begin(), items_.end(), control);
    return it == items_.end() ? -1 : static_cast<int>(it - items_.begin());
}

bool CContainerUI::SetItemIndex(CControlUI* control, int index) {
    const int current = GetItemIndex(control);
    if (current < 0 || index < 0 || index >= GetCount()) {
        return false;
    }
    items_.erase(items_.begin() + current);
    items_.insert(items_.begin() + index, control);
    NeedUpdate();
    return true;
}

bool CContainerUI::Add(CControlUI* control) {
    return AddAt(control, GetCount());
}

bool CContainerUI::AddAt(CControlUI* control, int index) {
    if (control == nullptr || index < 0 || index > GetCount()) {
        return false;
    }
    items_.insert(items_.begin() + index, control);
    if (manager_ != nullptr) {
        manager_->InitControls(control, this);
    } else {
        control->SetManager(nullptr, this, false);
    }
    control->SetInternVisible(IsVisible());
    NeedUpdate();
    return true;
}

bool CContainerUI::Remove(CControlUI* control, bool doNotDestroy) {
    const int index = GetItemIndex(control);
    return index >= 0 && RemoveAt(index, doNotDestroy);
}

bool CContainerUI::RemoveAt(int index, bool doNotDestroy) {
    CControlUI* control = GetItemAt(index);
    if (control == nullptr) {
        return false;
    }
    items_.erase(items_.begin() + index);
    if (manager_ != nullptr) {
        manager_->ReapObjects(control);
    }
    if (doNotDestroy || !autoDestroy_) {
        control->SetManager(nullptr, nullptr, false);
    } else {
        delete control;
    }
    NeedUpdate();
    return true;
}

void CContainerUI::RemoveAll() {
    while (!items_.empty()) {
        RemoveAt(GetCount() - 1);
    }
    scrollPos_ = QPoint();
}

QMargins CContainerUI::GetInset() const {
    return manager_ != nullptr ? manager_->GetDPIObj().Scale(inset_) : inset_;
}

void CContainerUI::SetInset(const QMargins& inset) {
    inset_ = inset;
    NeedUpdate();
}

int CContainerUI::GetChildPadding() const {
    return Scaled(childPadding_);
}

void CContainerUI::SetChildPadding(int padding) {
    childPadding_ = padding;
    NeedUpdate();
}

void CContainerUI::EnableScrollBar(bool vertical) {
    vScrollEnabled_ = vertical;
    NeedUpdate();
}

void CContainerUI::SetScrollPos(QPoint pos) {
    pos.setY(std::clamp(pos.y(), 0, scrollRange_.height()));
    pos.setX(0);
    if (pos == scrollPos_) {
        return;
    }
    scrollPos_ = pos;
    NeedUpdate();
}

void CContainerUI::SetManager(CPaintManagerUI* manager, CControlUI* parent, bool init) {
    for (CControlUI* item : items_) {
        item->SetManager(manager, this, init);
    }
    CControlUI::SetManager(manager, parent, init);
}

void CContainerUI::SetVisible(bool visible) {
    if (visible_ == visible) {
        return;
    }
    CControlUI::SetVisible(visible);
    for (CControlUI* item : items_) {
        item->SetInternVisible(IsVisible());
    }
}

void CContainerUI::SetInternVisible(bool visible) {
    CControlUI::SetInternVisible(visible);
    for (CControlUI* item : items_) {
        item->SetInternVisible(IsVisible());
    }
}

void CContainerUI::SetEnabled(bool enabled) {
    CControlUI::SetEnabled(enabled);
    for (CControlUI* item : items_) {
        item->SetEnabled(enabled);
    }
}

QRect CContainerUI::ContentRect() const {
    QRect content = pos_.marginsRemoved(GetInset());
    if (vScrollVisible_) {
        content.setWidth(std::max(0, content.width() - ScrollBarWidth()));
    }
    return content;
}

int CContainerUI::ScrollBarWidth() const {
    return Scaled(6);
}

void CContainerUI::SetFloatPos(CControlUI* control) {
    const QRect rect = control->GetFloatPos();
    control->SetPos(rect.translated(pos_.topLeft()), false);
}

void CContainerUI::SetPos(QRect rect, bool needInvalidate) {
    CControlUI::SetPos(rect, needInvalidate);
    const QRect content = ContentRect();
    for (CControlUI* item : items_) {
        if (!item->IsVisible()) {
            continue;
        }
        if (item->IsFloat()) {
            SetFloatPos(item);
        } else {
            item->SetPos(content.marginsRemoved(item->GetPadding()), false);
        }
    }
}

bool CContainerUI::ProcessScrollBar(const QRect& content, int requiredHeight) {
    if (!vScrollEnabled_) {
        scrollRange_ = QSize();
        return false;
    }
    const int range = std::max(0, requiredHeight - content.height());
    const bool wasVisible = vScrollVisible_;
    scrollRange_ = QSize(0, range);
    vScrollVisible_ = range > 0;
    const int clamped = std::clamp(scrollPos_.y(), 0, range);
    const bool moved = clamped != scrollPos_.y();
    scrollPos_.setY(clamped);
    return moved || wasVisible != vScrollVisible_;
}

QRect CContainerUI::ScrollThumbRect() const {
    const QRect track =
        QRect(pos_.right() + 1 - ScrollBarWidth() - GetInset().right(), pos_.top() + GetInset().top(),
              ScrollBarWidth(), pos_.height() - GetInset().top() - GetInset().bottom());
    const int total = track.height() + scrollRange_.height();
    const int thumb = std::max(Scaled(24), track.height() * track.height() / std::max(1, total));
    const int travel = track.height() - thumb;
    const int offset = scrollRange_.height() > 0 ? travel * scrollPos_.y() / scrollRange_.height() : 0;
    return QRect(track.left(), track.top() + offset, track.width(), thumb);
}

void CContainerUI::SetAttribute(std::string_view name, std::string_view value) {
    const std::string key = ToLower(name);
    if (key == "inset") {
        SetInset(ParseMargins(value));
    } else if (key == "childpadding") {
        SetChildPadding(ParseInt(value));
    } else if (key == "childalign") {
        childAlign_ = value == "center" ? DT_CENTER : value == "right" ? DT_RIGHT : DT_LEFT;
    } else if (key == "childvalign") {
        childVAlign_ = value == "vcenter" ? DT_VCENTER : value == "bottom" ? DT_BOTTOM : DT_TOP;
    } else if (key == "vscrollbar") {
        EnableScrollBar(ParseBool(value));
    } else if (key == "autodestroy") {
        autoDestroy_ = ParseBool(value);
    } else {
        CControlUI::SetAttribute(name, value);
    }
}

CControlUI* CContainerUI::FindControl(const FindPredicate& predicate, unsigned flags) {
    if ((flags & UIFIND_VISIBLE) && !IsVisible()) {
        return nullptr;
    }
    if ((flags & UIFIND_ENABLED) && !IsEnabled()) {
        return nullptr;
    }
    if ((flags & UIFIND_ME_FIRST) && predicate(this)) {
        return this;
    }
    for (CControlUI* item : items_) {
        if (CControlUI* found = item->FindControl(predicate, flags)) {
            return found;
        }
    }
    return (flags & UIFIND_ME_FIRST) == 0 && predicate(this) ? this : nullptr;
}

CControlUI* CContainerUI::FindControlAt(QPoint point) {
    if (!IsVisible() || !pos_.contains(point)) {
        return nullptr;
    }
    if (!(vScrollVisible_ && point.x() >= ContentRect().right() + 1)) {
        const QRect content = ContentRect();
        for (auto it = items_.rbegin(); it != items_.rend(); ++it) {
            CControlUI* item = *it;
            if (!item->IsVisible() || (!item->IsFloat() && !content.contains(point))) {
                continue;
            }
            if (auto* container = static_cast<CContainerUI*>(item->GetInterface("Container"))) {
                if (CControlUI* found = container->FindControlAt(point)) {
                    return found;
                }
            } else if (item->GetPos().contains(point) && item->IsMouseEnabled()) {
                return item;
            }
        }
    }
    return IsMouseEnabled() ? this : nullptr;
}

void CContainerUI::DoEvent(TEventUI& event) {
    if (vScrollVisible_) {
        switch (event.Type) {
            case EventType::ScrollWheel:
                SetScrollPos(QPoint(0, scrollPos_.y() - event.key * Scaled(48) / 120));
                return;
            case EventType::ButtonDown:
                if (event.ptMouse.x() > ContentRect().right()) {
                    dragStartY_ = event.ptMouse.y();
                    dragStartScroll_ = scrollPos_.y();
                    if (manager_ != nullptr) {
                        manager_->SetCapture(this);
                    }
                    return;
                }
                break;
            case EventType::MouseMove:
                if (dragStartY_ >= 0) {
                    const QRect thumb = ScrollThumbRect();
                    const int travel =
                        std::max(1, pos_.height() - GetInset().top() - GetInset().bottom() - thumb.height());
                    SetScrollPos(QPoint(0, dragStartScroll_ + (event.ptMouse.y() - dragStartY_) *
                                                                  scrollRange_.height() / travel));
                    return;
                }
                break;
            case EventType::ButtonUp:
                if (dragStartY_ >= 0) {
                    dragStartY_ = -1;
                    if (manager_ != nullptr) {
                        manager_->ReleaseCapture();
                    }
                    return;
                }
                break;
            default:
                break;
        }
    }
    CControlUI::DoEvent(event);
}

void CContainerUI::DoPaint(QPainter& painter, const QRect& paintRect) {
    const QRect clip = paintRect.intersected(pos_);
    if (clip.isEmpty()) {
        return;
    }
    CControlUI::DoPaint(painter, clip);
    painter.save();
    painter.setClipRect(clip, Qt::IntersectClip);
    const QRect content = ContentRect();
    for (CControlUI* item : items_) {
        if (!item->IsVisible() || !item->GetPos().intersects(clip)) {
            continue;
        }
        if (item->IsFloat()) {
            item->DoPaint(painter, clip);
            continue;
        }
        painter.save();
        painter.setClipRect(content, Qt::IntersectClip);
        item->DoPaint(painter, clip.intersected(content));
        painter.restore();
    }
    painter.restore();
    if (vScrollVisible_) {
        CRenderEngine::DrawColor(painter, ScrollThumbRect(), 0x40FFFFFF, QSize(Scaled(3), Scaled(3)));
    }
}

CControlUI* CContainerUI::FindSubControl(const std::string& name) {
    for (CControlUI* item : items_) {
        if (item->GetName() == name) {
            return item;
        }
        if (auto* container = static_cast<CContainerUI*>(item->GetInterface("Container"))) {
            if (CControlUI* found = container->FindSubControl(name)) {
                return found;
            }
        }
    }
    return nullptr;
}

}  // namespace ui
