#include "ui/toolkit/window_impl_base.h"

#include "platform/debug.h"
#include "ui/toolkit/control_ui.h"
#include "ui/toolkit/dialog_builder.h"
#include "ui/toolkit/host_widget.h"

#include <QTimer>

namespace ui {

WindowImplBase::WindowImplBase() = default;

WindowImplBase::~WindowImplBase() {
    m_pm.RemoveNotifier(this);
}

bool WindowImplBase::OnCreate() {
    m_pm.Init(host_, GetWindowClassName());
    host_->SetPaintManager(&m_pm);
    m_pm.AddNotifier(this);
    m_pm.SetTextQuery(this);
    CDialogBuilder builder;
    CControlUI* root = builder.Create(GetSkinFile(), this, &m_pm);
    if (root == nullptr) {
        platform::DebugFormat("WindowImplBase: window '%s' could not build its skin '%s'\n",
                              GetWindowClassName().c_str(), GetSkinFile().c_str());
        root = new CControlUI();
    }
    m_pm.AttachDialog(root);
    const QSize size = m_pm.GetInitSize();
    if (!size.isEmpty()) {
        host_->resize(size);
    }
    const QSize minimum = m_pm.GetMinInfo();
    if (!minimum.isEmpty()) {
        host_->setMinimumSize(minimum);
    }
    InitWindow();
    m_pm.SendNotify(m_pm.GetRoot(), kNotifyWindowInit, 0, 0, true);
    return true;
}

void WindowImplBase::Notify(TNotifyUI& msg) {
    if (msg.sType != kNotifyClick || msg.pSender == nullptr) {
        return;
    }
    const std::string& name = msg.pSender->GetName();
    if (name == "closebtn") {
        Close(0);
    } else if (name == "minbtn") {
        SendMessage(WM_SYSCOMMAND, SC_MINIMIZE, 0);
    } else if (name == "maxbtn") {
        SendMessage(WM_SYSCOMMAND, SC_MAXIMIZE, 0);
    } else if (name == "restorebtn") {
        SendMessage(WM_SYSCOMMAND, SC_RESTORE, 0);
    }
}

CControlUI* WindowImplBase::CreateControl(const std::string&) {
    return nullptr;
}

std::string WindowImplBase::QueryControlText(const std::string&, const std::string&) {
    return {};
}

LRESULT WindowImplBase::MessageHandler(unsigned, WPARAM, LPARAM, bool& handled) {
    handled = false;
    return 0;
}

LRESULT WindowImplBase::HandleMessage(unsigned message, WPARAM wParam, LPARAM lParam) {
    bool handled = false;
    const LRESULT result = MessageHandler(message, wParam, lParam, handled);
    if (handled) {
        return result;
    }
    if (message == WM_SIZE && m_pm.GetRoot() != nullptr) {
        m_pm.SendNotify(m_pm.GetRoot(), kNotifyWindowSize, wParam, lParam, true);
    }
    return CWindowWnd::HandleMessage(message, wParam, lParam);
}

}  // namespace ui
