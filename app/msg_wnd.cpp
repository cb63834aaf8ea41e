#include "app/msg_wnd.h"

#include "platform/debug.h"
#include "ui/toolkit/control_ui.h"
#include "ui/toolkit/dpi.h"
#include "ui/toolkit/ui_parse.h"

#include <QRect>
#include <QWidget>

namespace app {

int CMsgWnd::ShowMessage(ui::HWND owner, const std::string& title, const std::string& text, bool textIsKey,
                         int dpi, int buttonLayout) {
    // The window owns itself from here: it is deleted when it is destroyed.
    auto* wnd = new CMsgWnd();
    if (wnd->Create(owner, "msgwnd", kMsgWndStyle, kMsgWndExStyle) == nullptr) {
        delete wnd;
        return 0;
    }
    wnd->SetTexts(title, text, textIsKey);
    wnd->SetDPI(dpi);
    wnd->SetButtonLayout(buttonLayout);
    wnd->CenterWindow();
    return wnd->ShowModal();
}

std::string CMsgWnd::GetWindowClassName() const {
    return kMsgWndClassName;
}

std::string CMsgWnd::GetSkinFile() {
    return kMsgSkinId;
}

void CMsgWnd::InitWindow() {
    closeButton_ = m_pm.FindControl("closebtn");
}

void CMsgWnd::SetTexts(const std::string& title, const std::string& text, bool textIsKey) {
    // A key stays a key on the control, so a language change re-translates it; a literal text is
    // answered by the text query as itself, so no table entry of the same name can replace it.
    if (!textIsKey) {
        literalText_ = text;
    }
    if (ui::CControlUI* label = m_pm.FindControl("MessageTitle"); label != nullptr && !title.empty()) {
        label->SetText(title);
    }
    if (ui::CControlUI* label = m_pm.FindControl("MessageText"); label != nullptr && !text.empty()) {
        label->SetText(text);
    }
}

std::string CMsgWnd::QueryControlText(const std::string& key, const std::string&) {
    return !literalText_.empty() && key == literalText_ ? literalText_ : std::string();
}

void CMsgWnd::SetDPI(int dpi) {
    if (!ui::CDPI::IsSupported(dpi)) {
        platform::DebugOutput("MSG_WND DPI SET ERROR");
        dpi = 96;
    }
    m_pm.SetDPI(dpi);
}

void CMsgWnd::SetButtonLayout(int layout) {
    if (layout != kConfirmOnly && layout != kConfirmAndCancel) {
        return;
    }
    if (ui::CControlUI* cancel = m_pm.FindControl("cancel_btn")) {
        cancel->SetVisible(layout == kConfirmAndCancel);
    }
    if (ui::CControlUI* confirm = m_pm.FindControl("confirm_btn")) {
        confirm->SetVisible(true);
    }
}

void CMsgWnd::Notify(ui::TNotifyUI& msg) {
    if (msg.sType != ui::kNotifyClick || msg.pSender == nullptr) {
        return;
    }
    const std::string& name = msg.pSender->GetName();
    if (ui::EqualsNoCase(name, "confirm_btn")) {
        Close(1);
    } else if (ui::EqualsNoCase(name, "cancel_btn") || msg.pSender == closeButton_) {
        Close(0);
    }
}

void CMsgWnd::OnFinalMessage(ui::HWND) {
    delete this;
}

}  // namespace app
