#include "app/skin_frame.h"

#include "ui/controls/skin_change_observer.h"
#include "ui/toolkit/control_ui.h"
#include "ui/toolkit/message_queue.h"
#include "ui/toolkit/tab_layout_ui.h"
#include "ui/toolkit/ui_parse.h"

#include <QApplication>
#include <QFileDialog>
#include <QWidget>

namespace app {
namespace {

ui::HWND& OpenSlot() {
    static ui::HWND open = nullptr;
    return open;
}

}  // namespace

CSkinFrame::CSkinFrame(PicturePicker picker, CSkinSettings settings)
    : picker_(std::move(picker)), settings_(std::move(settings)) {}

CSkinFrame* CSkinFrame::Open(ui::HWND owner, ui::CControlUI* anchor, PicturePicker picker,
                             CSkinSettings settings) {
    if (ui::HWND open = OpenSlot(); ui::IsWindow(open)) {
        ui::SendMessage(open, ui::WM_CLOSE);
    }
    auto* frame = new CSkinFrame(std::move(picker), std::move(settings));
    if (frame->Create(owner, kSkinFrameTitle, ui::WS_POPUP, ui::WS_EX_TOOLWINDOW | ui::WS_EX_TOPMOST) ==
        nullptr) {
        delete frame;
        return nullptr;
    }
    if (auto* window = dynamic_cast<ui::WindowImplBase*>(owner)) {
        frame->m_pm.SetDPI(window->GetPaintManager().GetDPI());
        frame->ResizeClient(frame->m_pm.GetInitSize().width(), frame->m_pm.GetInitSize().height());
    }
    frame->MoveUnder(owner, anchor);
    OpenSlot() = frame->GetHWND();
    frame->ShowWindow(true, true);
    return frame;
}

ui::HWND CSkinFrame::OpenWindow() {
    return ui::IsWindow(OpenSlot()) ? OpenSlot() : nullptr;
}

std::string CSkinFrame::OpenPictureDialog(ui::HWND owner) {
    QWidget* parent = owner != nullptr ? owner->GetWidget() : nullptr;
    QFileDialog dialog(parent, QString(), QString(), QStringLiteral("(*.png) (*.png);;(*.*) (*)"));
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setDefaultSuffix(QStringLiteral("png"));
    dialog.selectFile(QStringLiteral("*.png"));
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return {};
    }
    return dialog.selectedFiles().front().toStdString();
}

std::string CSkinFrame::GetWindowClassName() const {
    return kSkinFrameClassName;
}

std::string CSkinFrame::GetSkinFile() {
    return kSkinFrameSkinFile;
}

void CSkinFrame::MoveUnder(ui::HWND owner, ui::CControlUI* anchor) {
    QWidget* ownerWidget = owner != nullptr ? owner->GetWidget() : nullptr;
    if (ownerWidget == nullptr || anchor == nullptr) {
        CenterWindow();
        return;
    }
    const QRect rect = anchor->GetPos();
    const QPoint bottomRight = ownerWidget->mapToGlobal(QPoint(rect.right() + 1, rect.bottom() + 1));
    GetWidget()->move(bottomRight.x() - GetWidget()->width(), bottomRight.y());
}

void CSkinFrame::PublishImage(const std::string& image) {
    GetSkinChangeObserver().Publish(SkinChangedParam{false, 0, image});
}

void CSkinFrame::SelectPage(int index) {
    ui::CControlUI* control = m_pm.FindControl("skin_tab");
    if (auto* tab = control != nullptr ? static_cast<ui::CTabLayoutUI*>(control->GetInterface("TabLayout"))
                                       : nullptr) {
        tab->SelectItem(index);
    }
}

void CSkinFrame::Notify(ui::TNotifyUI& msg) {
    if (msg.sType != ui::kNotifyClick || msg.pSender == nullptr) {
        return;
    }
    const std::string& name = msg.pSender->GetName();
    if (ui::EqualsNoCase(name, "skin_image_btn")) {
        const std::string image = msg.pSender->GetBkImage();
        PublishImage(image);
        settings_.Write({1, image});
    } else if (ui::EqualsNoCase(name, "skin_color_btn")) {
        GetSkinChangeObserver().Publish(SkinChangedParam{true, msg.pSender->GetBkColor(), {}});
    } else if (ui::EqualsNoCase(name, "skin_color")) {
        SelectPage(1);
    } else if (ui::EqualsNoCase(name, "skin_image")) {
        SelectPage(0);
    } else if (ui::EqualsNoCase(name, "skin_reset")) {
        PublishImage(CSkinSettings::kDefaultImage);
        settings_.Write({0, CSkinSettings::kDefaultImage});
    } else if (ui::EqualsNoCase(name, "skin_Custom")) {
        const std::string picture = picker_ ? picker_(GetHWND()) : std::string();
        if (!picture.empty()) {
            PublishImage(picture);
        }
    }
}

ui::LRESULT CSkinFrame::MessageHandler(unsigned message, ui::WPARAM wParam, ui::LPARAM, bool& handled) {
    handled = false;
    if (message != ui::WM_ACTIVATE) {
        return 0;
    }
    // Losing activation closes the popup; a file dialog of its own is no such loss.
    if (wParam != 0) {
        wasActive_ = true;
    } else if (wasActive_ && QApplication::activeModalWidget() == nullptr) {
        Close(0);
    }
    return 0;
}

void CSkinFrame::OnFinalMessage(ui::HWND window) {
    if (OpenSlot() == window) {
        OpenSlot() = nullptr;
    }
    delete this;
}

}  // namespace app
