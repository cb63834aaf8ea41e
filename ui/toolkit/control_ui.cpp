#include "ui/toolkit/control_ui.h"

#include "ui/toolkit/paint_manager_ui.h"
#include "ui/toolkit/render_engine.h"
#include "ui/toolkit/resource_manager.h"
#include "ui/toolkit/ui_parse.h"

#include <QPainter>

#include <cctype>

namespace ui {

CControlUI::CControlUI() = default;

CControlUI::~CControlUI() {
    if (manager_ != nullptr) {
        manager_->ReapObjects(this);
    }
}

std::string CControlUI::GetClass() const {
    return "Control";
}

void* CControlUI::GetInterface(std::string_view name) {
    return name == "Control" ? this : nullptr;
}

void CControlUI::SetName(const std::string& name) {
    if (name_ == name) {
        return;
    }
    name_ = name;
    if (manager_ != nullptr) {
        manager_->NameChanged();
    }
}

std::string CControlUI::GetText() const {
    if (text_.empty()) {
        return text_;
    }
    if (manager_ != nullptr && manager_->GetTextQuery() != nullptr) {
        std::string answer = manager_->GetTextQuery()->QueryControlText(text_, GetClass());
        if (!answer.empty()) {
            return answer;
        }
    }
    const std::string* translated = CResourceManager::GetInstance().GetText(text_);
    return translated != nullptr ? *translated : text_;
}

void CControlUI::SetText(const std::string& text) {
    if (text_ == text) {
        return;
    }
    text_ = text;
    Invalidate();
}

std::string CControlUI::GetToolTip() const {
    const std::string* translated = CResourceManager::GetInstance().GetText(toolTip_);
    return translated != nullptr ? *translated : toolTip_;
}

void CControlUI::SetToolTip(const std::string& text) {
    toolTip_ = text;
}

void CControlUI::SetManager(CPaintManagerUI* manager, CControlUI* parent, bool init) {
    manager_ = manager;
    parent_ = parent;
    if (init && manager_ != nullptr && parent_ != nullptr) {
        Init();
    }
}

void CControlUI::Init() {
    if (inited_) {
        return;
    }
    inited_ = true;
    DoInit();
}

void CControlUI::SetPos(QRect rect, bool needInvalidate) {
    if (rect.width() < 0) {
        rect.setWidth(0);
    }
    if (rect.height() < 0) {
        rect.setHeight(0);
    }
    const bool changed = rect != pos_;
    if (changed && needInvalidate) {
        Invalidate();  // where it was
    }
    pos_ = rect;
    updateNeeded_ = false;
    if (changed && needInvalidate) {
        Invalidate();
    }
}

int CControlUI::Scaled(int value) const {
    return manager_ != nullptr ? manager_->Scale(value) : value;
}

QMargins CControlUI::GetPadding() const {
    return manager_ != nullptr ? manager_->GetDPIObj().Scale(padding_) : padding_;
}

void CControlUI::SetPadding(const QMargins& padding) {
    padding_ = padding;
    NeedParentUpdate();
}

int CControlUI::GetFixedWidth() const {
    return Scaled(fixed_.width());
}
int CControlUI::GetFixedHeight() const {
    return Scaled(fixed_.height());
}
int CControlUI::GetMinWidth() const {
    return Scaled(min_.width());
}
int CControlUI::GetMaxWidth() const {
    return Scaled(max_.width());
}
int CControlUI::GetMinHeight() const {
    return Scaled(min_.height());
}
int CControlUI::GetMaxHeight() const {
    return Scaled(max_.height());
}

void CControlUI::SetFixedWidth(int width) {
    fixed_.setWidth(std::max(0, width));
    NeedParentUpdate();
}

void CControlUI::SetFixedHeight(int height) {
    fixed_.setHeight(std::max(0, height));
    NeedParentUpdate();
}

void CControlUI::SetMinWidth(int value) {
    min_.setWidth(std::max(0, value));
    NeedParentUpdate();
}
void CControlUI::SetMaxWidth(int value) {
    max_.setWidth(std::max(0, value));
    NeedParentUpdate();
}
void CControlUI::SetMinHeight(int value) {
    min_.setHeight(std::max(0, value));
    NeedParentUpdate();
}
void CControlUI::SetMaxHeight(int value) {
    max_.setHeight(std::max(0, value));
    NeedParentUpdate();
}

void CControlUI::SetFloat(bool value) {
    float_ = value;
    NeedParentUpdate();
}

QRect CControlUI::GetFloatPos() const {
    return manager_ != nullptr ? manager_->GetDPIObj().Scale(floatPos_) : floatPos_;
}

void CControlUI::SetFloatPos(const QRect& rect) {
    floatPos_ = rect;
    NeedParentUpdate();
}

QSize CControlUI::EstimateSize(QSize) {
    return QSize(GetFixedWidth(), GetFixedHeight());
}

void CControlUI::SetVisible(bool visible) {
    if (visible_ == visible) {
        return;
    }
    const bool wasVisible = IsVisible();
    visible_ = visible;
    if (focused_ && !visible) {
        focused_ = false;
        if (manager_ != nullptr && manager_->GetFocus() == this) {
            manager_->SetFocus(nullptr);
        }
    }
    if (wasVisible != IsVisible()) {
        NeedParentUpdate();
    }
}

void CControlUI::SetInternVisible(bool visible) {
    internVisible_ = visible;
    if (!visible && manager_ != nullptr && manager_->GetFocus() == this) {
        manager_->SetFocus(nullptr);
    }
}

void CControlUI::SetEnabled(bool enabled) {
    if (enabled_ == enabled) {
        return;
    }
    enabled_ = enabled;
    Invalidate();
}

void CControlUI::SetFocus() {
    if (manager_ != nullptr) {
        manager_->SetFocus(this);
    }
}

void CControlUI::SetBkColor(std::uint32_t argb) {
    bkColor_ = argb;
    Invalidate();
}

void CControlUI::SetBkImage(const std::string& image) {
    bkImage_ = image;
    Invalidate();
}

void CControlUI::SetBorderColor(std::uint32_t argb) {
    borderColor_ = argb;
    Invalidate();
}

void CControlUI::SetBorderSize(int size) {
    borderSize_ = std::max(0, size);
    Invalidate();
}

void CControlUI::SetBorderRound(QSize round) {
    borderRound_ = round;
    Invalidate();
}

bool CControlUI::SetTimer(int id, int elapseMs) {
    return manager_ != nullptr && manager_->SetTimer(this, id, elapseMs);
}

void CControlUI::KillTimer(int id) {
    if (manager_ != nullptr) {
        manager_->KillTimer(this, id);
    }
}

void CControlUI::KillTimer() {
    if (manager_ != nullptr) {
        manager_->KillTimer(this);
    }
}

void CControlUI::SetAttribute(std::string_view name, std::string_view value) {
    const std::string key = ToLower(name);
    const std::string text(value);
    if (key == "name") {
        SetName(text);
    } else if (key == "text") {
        SetText(text);
    } else if (key == "tooltip") {
        SetToolTip(text);
    } else if (key == "userdata") {
        SetUserData(text);
    } else if (key == "pos") {
        const QRect rect = ParseRect(value);
        floatPos_ = rect;
        fixed_ = QSize(std::max(0, rect.width()), std::max(0, rect.height()));
    } else if (key == "float") {
        float_ = ParseBool(value);
    } else if (key == "padding") {
        padding_ = ParseMargins(value);
    } else if (key == "width") {
        fixed_.setWidth(std::max(0, ParseInt(value)));
    } else if (key == "height") {
        fixed_.setHeight(std::max(0, ParseInt(value)));
    } else if (key == "minwidth") {
        min_.setWidth(ParseInt(value));
    } else if (key == "minheight") {
        min_.setHeight(ParseInt(value));
    } else if (key == "maxwidth") {
        max_.setWidth(ParseInt(value, 9999));
    } else if (key == "maxheight") {
        max_.setHeight(ParseInt(value, 9999));
    } else if (key == "visible") {
        SetVisible(ParseBool(value));
    } else if (key == "enabled") {
        SetEnabled(ParseBool(value));
    } else if (key == "mouse") {
        mouseEnabled_ = ParseBool(value);
    } else if (key == "keyboard") {
        keyboardEnabled_ = ParseBool(value);
    } else if (key == "bkcolor" || key == "bkcolor1") {
        bkColor_ = ParseColor(value);
    } else if (key == "bkcolor2") {
        bkColor2_ = ParseColor(value);
    } else if (key == "bordercolor") {
        borderColor_ = ParseColor(value);
    } else if (key == "focusbordercolor") {
        focusBorderColor_ = ParseColor(value);
    } else if (key == "bordersize") {
        borderSize_ = std::max(0, ParseInt(value));
    } else if (key == "borderround") {
        borderRound_ = ParseSize(value);
    } else if (key == "bkimage") {
        bkImage_ = text;
    } else if (key == "foreimage") {
        foreImage_ = text;
    } else {
        extraAttributes_[key] = text;
        return;
    }
    Invalidate();
}

void CControlUI::ApplyAttributeList(std::string_view list) {
    // name="value" pairs, values quoted with " or '.
    while (!list.empty()) {
        while (!list.empty() && std::isspace(static_cast<unsigned char>(list.front()))) {
            list.remove_prefix(1);
        }
        const std::size_t equals = list.find('=');
        if (equals == std::string_view::npos || equals + 1 >= list.size()) {
            return;
        }
        const std::string_view name = list.substr(0, equals);
        const char quote = list[equals + 1];
        if (quote != '"' && quote != '\'') {
            return;
        }
        const std::size_t close = list.find(quote, equals + 2);
        if (close == std::string_view::npos) {
            return;
        }
        SetAttribute(name, list.substr(equals + 2, close - equals - 2));
        list.remove_prefix(close + 1);
    }
}

std::string CControlUI::GetAttribute(std::string_view name) const {
    const auto it = extraAttributes_.find(ToLower(name));
    return it == extraAttributes_.end() ? std::string() : it->second;
}

CControlUI* CControlUI::FindControl(const FindPredicate& predicate, unsigned flags) {
    if ((flags & UIFIND_VISIBLE) && !IsVisible()) {
        return nullptr;
    }
    if ((flags & UIFIND_ENABLED) && !IsEnabled()) {
        return nullptr;
    }
    if ((flags & UIFIND_HITTEST) && !mouseEnabled_) {
        return nullptr;
    }
    return predicate(this) ? this : nullptr;
}

// Only the control's own rectangle: a repaint of the whole window costs every control's paint.
void CControlUI::Invalidate() {
    if (manager_ != nullptr && IsVisible()) {
        manager_->Invalidate(pos_);
    }
}

void CControlUI::NeedUpdate() {
    updateNeeded_ = true;
    if (manager_ != nullptr) {
        manager_->NeedUpdate();
    }
}

void CControlUI::NeedParentUpdate() {
    if (parent_ != nullptr) {
        parent_->NeedUpdate();
    } else {
        NeedUpdate();
    }
}

bool CControlUI::Activate() {
    if (!IsVisible() || !IsEnabled()) {
        return false;
    }
    if (manager_ != nullptr) {
        manager_->SendNotify(this, kNotifyClick);
    }
    return true;
}

void CControlUI::Event(TEventUI& event) {
    DoEvent(event);
}

void CControlUI::DoEvent(TEventUI& event) {
    switch (event.Type) {
        case EventType::SetFocus:
            focused_ = true;
            Invalidate();
            return;
        case EventType::KillFocus:
            focused_ = false;
            Invalidate();
            return;
        case EventType::Timer:
            if (manager_ != nullptr) {
                manager_->SendNotify(this, kNotifyTimer, event.wParam, event.lParam);
            }
            return;
        case EventType::ContextMenu:
            if (manager_ != nullptr) {
                manager_->SendNotify(this, kNotifyMenu, event.wParam, event.lParam);
            }
            return;
        default:
            // Events this control ignores go to its parent, as the skins expect of labels inside
            // list elements and buttons.
            if (parent_ != nullptr) {
                parent_->DoEvent(event);
            }
            return;
    }
}

QRect CControlUI::BorderRect() const {
    return pos_;
}

void CControlUI::DoPaint(QPainter& painter, const QRect& paintRect) {
    if (!paintRect.intersects(pos_)) {
        return;
    }
    PaintBkColor(painter);
    PaintBkImage(painter);
    PaintStatusImage(painter);
    PaintText(painter);
    PaintBorder(painter);
}

void CControlUI::PaintBkColor(QPainter& painter) {
    const QSize round = manager_ != nullptr ? manager_->GetDPIObj().Scale(borderRound_) : borderRound_;
    if (bkColor2_ != 0 && bkColor_ != 0) {
        CRenderEngine::DrawGradient(painter, pos_, bkColor_, bkColor2_, true, round);
        return;
    }
    CRenderEngine::DrawColor(painter, pos_, bkColor_, round);
}

void CControlUI::PaintBkImage(QPainter& painter) {
    DrawImage(painter, bkImage_);
}

void CControlUI::PaintStatusImage(QPainter& painter) {
    DrawImage(painter, foreImage_);
}

void CControlUI::PaintText(QPainter&) {}

void CControlUI::PaintBorder(QPainter& painter) {
    const QSize round = manager_ != nullptr ? manager_->GetDPIObj().Scale(borderRound_) : borderRound_;
    const std::uint32_t colour = (focused_ && focusBorderColor_ != 0) ? focusBorderColor_ : borderColor_;
    CRenderEngine::DrawBorder(painter, BorderRect(), Scaled(borderSize_), colour, round);
}

bool CControlUI::DrawImage(QPainter& painter, const std::string& image, const QRect& rect) {
    return CRenderEngine::DrawImageString(painter, manager_, rect, image);
}

bool CControlUI::DrawImage(QPainter& painter, const std::string& image) {
    return DrawImage(painter, image, pos_);
}

}  // namespace ui
