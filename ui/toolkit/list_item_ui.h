#pragma once

#include "ui/toolkit/list_owner.h"
#include "ui/toolkit/paint_manager_ui.h"
#include "ui/toolkit/render_engine.h"

#include <QPainter>

// CListItemUI: what every list element shares, whatever control it is built on: its index and
// owner, the selection it keeps with the owner, the hot flag, "itemactivate" on activation, and
// the background painted from the owner's item colours (selected, hot, then the element's own or
// the owner's colour, with the owner's line below).
//
// Thread: the UI thread only.

namespace ui {

template <class Base>
class CListItemUI : public Base, public IListItemUI {
public:
    int GetIndex() const override { return index_; }
    void SetIndex(int index) override { index_ = index; }
    IListOwnerUI* GetOwner() override { return owner_; }
    void SetOwner(CControlUI* owner) override {
        owner_ = owner != nullptr ? static_cast<IListOwnerUI*>(owner->GetInterface("IListOwner")) : nullptr;
    }
    bool IsSelected() const override { return selected_; }
    bool Select(bool select = true) override {
        if (select == selected_) {
            return true;
        }
        selected_ = select;
        if (select && owner_ != nullptr) {
            owner_->SelectItem(index_);
        }
        this->Invalidate();
        return true;
    }
    bool IsHot() const { return hot_; }

    bool Activate() override {
        if (!CControlUI::Activate()) {
            return false;
        }
        if (this->manager_ != nullptr) {
            this->manager_->SendNotify(this, kNotifyItemActivate);
        }
        return true;
    }

    void PaintBkColor(QPainter& painter) override {
        const TListInfoUI* info = owner_ != nullptr ? owner_->GetListInfo() : nullptr;
        if (info == nullptr) {
            CControlUI::PaintBkColor(painter);
            return;
        }
        std::uint32_t colour = this->bkColor_ != 0 ? this->bkColor_ : info->bkColor;
        if (selected_) {
            colour = info->selectedBkColor;
        } else if (hot_ && this->IsEnabled()) {
            colour = info->hotBkColor;
        }
        const QSize round = this->manager_ != nullptr ? this->manager_->GetDPIObj().Scale(this->borderRound_)
                                                      : this->borderRound_;
        const QRect pos = this->pos_;
        CRenderEngine::DrawColor(painter, pos, colour, round);
        if (info->lineColor != 0) {
            CRenderEngine::DrawColor(painter, QRect(pos.left(), pos.bottom(), pos.width(), 1),
                                     info->lineColor);
        }
    }

    // Elements without a height of their own are one row (32 units) high.
    QSize EstimateSize(QSize available) override {
        const QSize size = Base::EstimateSize(available);
        return QSize(size.width(), size.height() > 0 ? size.height() : this->Scaled(32));
    }

protected:
    // Hover, leave and the mouse moves every element handles alike; true when the event was one.
    bool TrackHot(const TEventUI& event) {
        switch (event.Type) {
            case EventType::MouseEnter:
                hot_ = true;
                this->Invalidate();
                return true;
            case EventType::MouseLeave:
                hot_ = false;
                this->Invalidate();
                return true;
            case EventType::MouseMove:
                return true;
            default:
                return false;
        }
    }

    int index_ = -1;
    IListOwnerUI* owner_ = nullptr;
    bool selected_ = false;
    bool hot_ = false;
};

}  // namespace ui
