#include "ui/toolkit/rich_edit_ui.h"

#include "ui/toolkit/paint_manager_ui.h"
#include "ui/toolkit/render_engine.h"
#include "ui/toolkit/ui_parse.h"

#include <QEvent>
#include <QKeyEvent>
#include <QPlainTextEdit>

namespace ui {
namespace {

class CRichEditFilter : public QObject {
public:
    CRichEditFilter(CRichEditUI* owner, QObject* parent) : QObject(parent), owner_(owner) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::FocusIn) {
            owner_->OnNativeFocus(true);
        } else if (event->type() == QEvent::FocusOut) {
            owner_->OnNativeFocus(false);
        } else if (event->type() == QEvent::KeyPress) {
            const int key = static_cast<QKeyEvent*>(event)->key();
            if ((key == Qt::Key_Return || key == Qt::Key_Enter) && owner_->OnNativeReturn()) {
                return true;
            }
        }
        return QObject::eventFilter(watched, event);
    }

private:
    CRichEditUI* owner_;
};

}  // namespace

CRichEditUI::CRichEditUI() {
    textStyle_ = DT_WORDBREAK;
}

CRichEditUI::~CRichEditUI() {
    delete edit_.data();
}

std::string CRichEditUI::GetClass() const {
    return "RichEdit";
}

void* CRichEditUI::GetInterface(std::string_view name) {
    return name == "RichEdit" ? this : CLabelUI::GetInterface(name);
}

std::string CRichEditUI::GetText() const {
    return text_;
}

void CRichEditUI::SetText(const std::string& text) {
    text_ = text;
    if (edit_ != nullptr) {
        settingText_ = true;
        edit_->setPlainText(QString::fromStdString(text_));
        settingText_ = false;
    }
    Invalidate();
}

void CRichEditUI::SetReadOnly(bool value) {
    readOnly_ = value;
    ApplyNativeState();
}

void CRichEditUI::SetLimitText(int count) {
    maxChar_ = std::max(0, count);
}

void CRichEditUI::DoInit() {
    CreateNativeEdit();
}

void CRichEditUI::CreateNativeEdit() {
    if (edit_ != nullptr || manager_ == nullptr || manager_->GetPaintWindow() == nullptr) {
        return;
    }
    edit_ = new QPlainTextEdit(manager_->GetPaintWindow());
    edit_->setFrameShape(QFrame::NoFrame);
    edit_->setPlainText(QString::fromStdString(text_));
    edit_->installEventFilter(new CRichEditFilter(this, edit_));
    QObject::connect(edit_, &QPlainTextEdit::textChanged, [this] {
        if (settingText_) {
            return;
        }
        QString text = edit_->toPlainText();
        if (text.size() > maxChar_) {
            text.truncate(maxChar_);
            settingText_ = true;
            edit_->setPlainText(text);
            edit_->moveCursor(QTextCursor::End);
            settingText_ = false;
        }
        text_ = text.toStdString();
        if (manager_ != nullptr) {
            manager_->SendNotify(this, kNotifyTextChanged);
        }
    });
    ApplyNativeState();
}

void CRichEditUI::ApplyNativeState() {
    if (edit_ == nullptr) {
        return;
    }
    edit_->setReadOnly(readOnly_);
    edit_->setEnabled(IsEnabled());
    const QColor text = ToQColor(textColor_ != 0 ? textColor_ : 0xFFFFFFFF);
    edit_->setStyleSheet(QString("QPlainTextEdit { color: %1; background: transparent; border: none; "
                                 "selection-background-color: #0099FF; }")
                             .arg(text.name(QColor::HexArgb)));
    if (manager_ != nullptr) {
        edit_->setFont(manager_->GetFont(font_));
    }
}

void CRichEditUI::SetPos(QRect rect, bool needInvalidate) {
    CLabelUI::SetPos(rect, needInvalidate);
    CreateNativeEdit();
    if (edit_ == nullptr) {
        return;
    }
    edit_->setGeometry(pos_.marginsRemoved(GetTextPadding()));
    edit_->setVisible(IsVisible() && !pos_.isEmpty());
}

void CRichEditUI::SetVisible(bool visible) {
    CLabelUI::SetVisible(visible);
    if (edit_ != nullptr) {
        edit_->setVisible(IsVisible() && !pos_.isEmpty());
    }
}

void CRichEditUI::SetInternVisible(bool visible) {
    CLabelUI::SetInternVisible(visible);
    if (edit_ != nullptr) {
        edit_->setVisible(IsVisible() && !pos_.isEmpty());
    }
}

void CRichEditUI::SetEnabled(bool enabled) {
    CLabelUI::SetEnabled(enabled);
    ApplyNativeState();
}

void CRichEditUI::SetAttribute(std::string_view name, std::string_view value) {
    const std::string key = ToLower(name);
    if (key == "readonly") {
        readOnly_ = ParseBool(value);
    } else if (key == "wantreturn") {
        wantReturn_ = ParseBool(value);
    } else if (key == "maxchar") {
        maxChar_ = std::max(0, ParseInt(value, 30000));
    } else {
        CLabelUI::SetAttribute(name, value);
        return;
    }
    ApplyNativeState();
}

void CRichEditUI::OnNativeFocus(bool in) {
    if (manager_ == nullptr) {
        return;
    }
    if (in && manager_->GetFocus() != this) {
        manager_->SetFocus(this);
    } else if (!in && manager_->GetFocus() == this) {
        manager_->SetFocus(nullptr);
    }
}

bool CRichEditUI::OnNativeReturn() {
    if (wantReturn_ || manager_ == nullptr) {
        return false;
    }
    manager_->SendNotify(this, kNotifyReturn);
    return true;
}

void CRichEditUI::DoEvent(TEventUI& event) {
    if (event.Type == EventType::SetFocus || event.Type == EventType::KillFocus) {
        CLabelUI::DoEvent(event);
        const bool in = event.Type == EventType::SetFocus;
        if (in && edit_ != nullptr && !edit_->hasFocus() && edit_->isVisible()) {
            edit_->setFocus(Qt::MouseFocusReason);
        }
        if (manager_ != nullptr) {
            manager_->SendNotify(this, in ? kNotifySetFocus : kNotifyKillFocus);
        }
        return;
    }
    CLabelUI::DoEvent(event);
}

void CRichEditUI::PaintText(QPainter& painter) {
    if (edit_ == nullptr) {
        CLabelUI::PaintText(painter);
    }
}

}  // namespace ui
