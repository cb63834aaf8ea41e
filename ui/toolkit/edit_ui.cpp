#include "ui/toolkit/edit_ui.h"

#include "ui/toolkit/paint_manager_ui.h"
#include "ui/toolkit/render_engine.h"
#include "ui/toolkit/ui_parse.h"

#include <QEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QRegularExpressionValidator>

#include <algorithm>

namespace ui {
namespace {

// Tells the control when its native field gains or loses the keyboard focus.
class CEditFocusFilter : public QObject {
public:
    CEditFocusFilter(CEditUI* owner, QObject* parent) : QObject(parent), owner_(owner) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::FocusIn) {
            owner_->OnNativeFocus(true);
        } else if (event->type() == QEvent::FocusOut) {
            owner_->OnNativeFocus(false);
        } else if (event->type() == QEvent::KeyPress) {
            const int key = static_cast<QKeyEvent*>(event)->key();
            // Enter ends here: passed on, it would reach whichever toolkit control has the focus.
            if (key == Qt::Key_Return || key == Qt::Key_Enter) {
                owner_->OnNativeReturn();
                return true;
            }
        }
        return QObject::eventFilter(watched, event);
    }

private:
    CEditUI* owner_;
};

}  // namespace

CEditUI::CEditUI() {
    textStyle_ = DT_VCENTER | DT_SINGLELINE;
}

CEditUI::~CEditUI() {
    delete edit_.data();
}

std::string CEditUI::GetClass() const {
    return "Edit";
}

void* CEditUI::GetInterface(std::string_view name) {
    return name == "Edit" ? this : CLabelUI::GetInterface(name);
}

std::string CEditUI::GetText() const {
    return text_;
}

void CEditUI::SetText(const std::string& text) {
    text_ = text.size() > static_cast<std::size_t>(maxChar_)
                ? text.substr(0, static_cast<std::size_t>(maxChar_))
                : text;
    if (edit_ != nullptr) {
        const QString shown = QString::fromStdString(text_);
        if (edit_->text() != shown) {
            edit_->setText(shown);
        }
    }
    Invalidate();
}

void CEditUI::SetNumberOnly(bool value) {
    numberOnly_ = value;
    ApplyNativeState();
}

void CEditUI::SetMinValue(int value) {
    minValue_ = value;
}

void CEditUI::SetMaxValue(int value) {
    maxValue_ = value;
}

void CEditUI::SetMaxChar(int count) {
    maxChar_ = std::max(0, count);
    ApplyNativeState();
}

void CEditUI::SetReadOnly(bool value) {
    readOnly_ = value;
    ApplyNativeState();
}

void CEditUI::SetPasswordMode(bool value) {
    password_ = value;
    ApplyNativeState();
}

void CEditUI::SetSel(int start, int end) {
    if (edit_ != nullptr) {
        edit_->setSelection(start, end < 0 ? static_cast<int>(edit_->text().size()) - start : end - start);
    }
}

void CEditUI::DoInit() {
    CreateNativeEdit();
}

void CEditUI::CreateNativeEdit() {
    if (edit_ != nullptr || manager_ == nullptr || manager_->GetPaintWindow() == nullptr) {
        return;
    }
    edit_ = new QLineEdit(manager_->GetPaintWindow());
    edit_->setFrame(false);
    edit_->setText(QString::fromStdString(text_));
    filter_ = new CEditFocusFilter(this, edit_);
    edit_->installEventFilter(filter_);
    QObject::connect(edit_, &QLineEdit::textEdited, [this](const QString& text) {
        text_ = text.toStdString();
        if (manager_ != nullptr) {
            manager_->SendNotify(this, kNotifyTextChanged);
        }
    });
    ApplyNativeState();
}

void CEditUI::ApplyNativeState() {
    if (edit_ == nullptr) {
        return;
    }
    edit_->setMaxLength(std::max(1, maxChar_));
    edit_->setReadOnly(readOnly_);
    edit_->setEchoMode(password_ ? QLineEdit::Password : QLineEdit::Normal);
    edit_->setPlaceholderText(QString::fromStdString(placeholder_));
    if (numberOnly_) {
        edit_->setValidator(new QRegularExpressionValidator(QRegularExpression("[0-9]*"), edit_));
    } else {
        edit_->setValidator(nullptr);
    }
    edit_->setEnabled(IsEnabled());
    const QColor text = ToQColor(textColor_ != 0 ? textColor_ : 0xFFFFFFFF);
    const QColor background = ToQColor(nativeBkColor_);
    edit_->setStyleSheet(
        QString("QLineEdit { color: %1; background: %2; border: none; selection-background-color: "
                "#0099FF; selection-color: #FFFFFF; }"
                "QLineEdit:disabled { color: #5C6370; }")
            .arg(text.name(QColor::HexArgb), background.name(QColor::HexArgb)));
    if (manager_ != nullptr) {
        edit_->setFont(manager_->GetFont(font_));
    }
    const int alignment = (textStyle_ & DT_CENTER)  ? Qt::AlignHCenter
                          : (textStyle_ & DT_RIGHT) ? Qt::AlignRight
                                                    : Qt::AlignLeft;
    edit_->setAlignment(Qt::Alignment(alignment) | Qt::AlignVCenter);
    edit_->setVisible(IsVisible() && pos_.isValid() && !pos_.isEmpty());
}

void CEditUI::SetPos(QRect rect, bool needInvalidate) {
    CLabelUI::SetPos(rect, needInvalidate);
    CreateNativeEdit();
    if (edit_ == nullptr) {
        return;
    }
    const int inner = std::max(1, Scaled(borderSize_));
    edit_->setGeometry(pos_.marginsRemoved(GetTextPadding()).adjusted(inner, inner, -inner, -inner));
    if (manager_ != nullptr) {
        edit_->setFont(manager_->GetFont(font_));
    }
    edit_->setVisible(IsVisible() && !pos_.isEmpty());
}

void CEditUI::SetVisible(bool visible) {
    CLabelUI::SetVisible(visible);
    if (edit_ != nullptr) {
        edit_->setVisible(IsVisible() && !pos_.isEmpty());
    }
}

void CEditUI::SetInternVisible(bool visible) {
    CLabelUI::SetInternVisible(visible);
    if (edit_ != nullptr) {
        edit_->setVisible(IsVisible() && !pos_.isEmpty());
    }
}

void CEditUI::SetEnabled(bool enabled) {
    CLabelUI::SetEnabled(enabled);
    if (edit_ != nullptr) {
        edit_->setEnabled(enabled);
    }
}

void CEditUI::SetFocus() {
    CLabelUI::SetFocus();
    if (edit_ != nullptr && edit_->isVisible()) {
        edit_->setFocus(Qt::OtherFocusReason);
    }
}

void CEditUI::OnNativeFocus(bool in) {
    if (manager_ == nullptr) {
        return;
    }
    if (in) {
        if (manager_->GetFocus() != this) {
            manager_->SetFocus(this);
        }
        return;
    }
    if (manager_->GetFocus() == this) {
        manager_->SetFocus(nullptr);
    }
}

void CEditUI::OnNativeReturn() {
    ClampToRange();
    if (manager_ != nullptr) {
        manager_->SendNotify(this, kNotifyReturn);
    }
}

void CEditUI::ClampToRange() {
    if (!numberOnly_ || minValue_ >= maxValue_) {
        return;
    }
    const int value =
        text_.empty() ? minValue_ : std::clamp(ParseInt(text_, minValue_), minValue_, maxValue_);
    const std::string clamped = std::to_string(value);
    if (clamped != text_) {
        SetText(clamped);
    }
}

void CEditUI::DoEvent(TEventUI& event) {
    switch (event.Type) {
        case EventType::SetFocus:
            CLabelUI::DoEvent(event);
            if (edit_ != nullptr && !edit_->hasFocus() && edit_->isVisible()) {
                edit_->setFocus(Qt::MouseFocusReason);
            }
            if (manager_ != nullptr) {
                manager_->SendNotify(this, kNotifySetFocus);
            }
            return;
        case EventType::KillFocus:
            CLabelUI::DoEvent(event);
            ClampToRange();
            if (edit_ != nullptr && edit_->hasFocus() && manager_ != nullptr &&
                manager_->GetPaintWindow() != nullptr) {
                manager_->GetPaintWindow()->setFocus(Qt::OtherFocusReason);
            }
            if (manager_ != nullptr) {
                manager_->SendNotify(this, kNotifyKillFocus);
            }
            return;
        default:
            CLabelUI::DoEvent(event);
            return;
    }
}

void CEditUI::SetAttribute(std::string_view name, std::string_view value) {
    const std::string key = ToLower(name);
    if (key == "numberonly") {
        numberOnly_ = ParseBool(value);
    } else if (key == "minvalue") {
        minValue_ = ParseInt(value);
    } else if (key == "maxvalue") {
        maxValue_ = ParseInt(value);
    } else if (key == "maxchar") {
        maxChar_ = std::max(0, ParseInt(value, 255));
    } else if (key == "readonly") {
        readOnly_ = ParseBool(value);
    } else if (key == "password") {
        password_ = ParseBool(value);
    } else if (key == "tipvalue" || key == "prompttext") {
        placeholder_ = std::string(value);
    } else if (key == "nativebkcolor") {
        nativeBkColor_ = ParseColor(value);
    } else {
        CLabelUI::SetAttribute(name, value);
        return;
    }
    ApplyNativeState();
}

void CEditUI::PaintText(QPainter& painter) {
    // The native field shows the text; without one (no window yet) paint it ourselves.
    if (edit_ == nullptr) {
        CLabelUI::PaintText(painter);
    }
}

void CEditUI::PaintBorder(QPainter& painter) {
    const QSize round = manager_ != nullptr ? manager_->GetDPIObj().Scale(borderRound_) : borderRound_;
    const bool focused = edit_ != nullptr ? edit_->hasFocus() : focused_;
    const std::uint32_t colour = focused && focusBorderColor_ != 0 ? focusBorderColor_ : borderColor_;
    CRenderEngine::DrawBorder(painter, pos_, Scaled(borderSize_), colour, round);
}

}  // namespace ui
