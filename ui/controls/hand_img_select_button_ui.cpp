#include "ui/controls/hand_img_select_button_ui.h"

#include "ui/controls/hand_img_button_ui.h"
#include "ui/toolkit/paint_manager_ui.h"
#include "ui/toolkit/ui_parse.h"

#include <QImageReader>
#include <QWidget>

#include <algorithm>
#include <array>
#include <cstdio>
#include <utility>

namespace ui {
namespace {

constexpr std::array<std::pair<const char*, Qt::CursorShape>, 14> kCursors{{
    {"arrow", Qt::ArrowCursor},
    {"ibeam", Qt::IBeamCursor},
    {"wait", Qt::WaitCursor},
    {"cross", Qt::CrossCursor},
    {"uparrow", Qt::UpArrowCursor},
    {"size", Qt::SizeAllCursor},
    {"icon", Qt::ArrowCursor},
    {"sizenwse", Qt::SizeFDiagCursor},
    {"sizenesw", Qt::SizeBDiagCursor},
    {"sizewe", Qt::SizeHorCursor},
    {"sizens", Qt::SizeVerCursor},
    {"sizeall", Qt::SizeAllCursor},
    {"no", Qt::ForbiddenCursor},
    {"hand", Qt::PointingHandCursor},
}};

std::string SkinFilePath(std::string file) {
    std::replace(file.begin(), file.end(), '\\', '/');
    return (!file.empty() && file.front() == '/') ? file : CPaintManagerUI::GetResourcePath() + file;
}

}  // namespace

std::string CHandImgSelectButtonUI::GetClass() const {
    return "HandImgSelectButton";
}

void* CHandImgSelectButtonUI::GetInterface(std::string_view name) {
    return name == "HandImgSelectButton" ? this : CButtonUI::GetInterface(name);
}

void CHandImgSelectButtonUI::SetHandImage(const std::string& file) {
    handFile_ = file;
    imageSize_ = file.empty() ? QSize() : QImageReader(QString::fromStdString(SkinFilePath(file))).size();
    ResetSource();
}

QSize CHandImgSelectButtonUI::ButtonSizeInUnits() const {
    if (manager_ == nullptr) {
        return pos_.size();
    }
    const CDPI& dpi = manager_->GetDPIObj();
    return QSize(dpi.ScaleBack(pos_.width()), dpi.ScaleBack(pos_.height()));
}

void CHandImgSelectButtonUI::ResetSource() {
    const QSize button = ButtonSizeInUnits();
    const bool larger = imageSize_.isValid() && !button.isEmpty() &&
                        (imageSize_.width() > button.width() || imageSize_.height() > button.height());
    source_ = larger ? QRect(0, 0, std::min(button.width(), imageSize_.width()),
                             std::min(button.height(), imageSize_.height()))
                     : QRect();
    RebuildDrawnImage();
}

void CHandImgSelectButtonUI::PanTo(QPoint mouse) {
    if (source_.isEmpty()) {
        return;
    }
    QPoint travel = mouse - dragStartMouse_;
    if (manager_ != nullptr) {
        travel =
            QPoint(manager_->GetDPIObj().ScaleBack(travel.x()), manager_->GetDPIObj().ScaleBack(travel.y()));
    }
    const QPoint wanted = dragStartSource_ + travel;
    const int left = std::clamp(wanted.x(), 0, imageSize_.width() - source_.width());
    const int top = std::clamp(wanted.y(), 0, imageSize_.height() - source_.height());
    if (left == source_.left() && top == source_.top()) {
        return;
    }
    source_.moveTo(left, top);
    RebuildDrawnImage();
}

void CHandImgSelectButtonUI::RebuildDrawnImage() {
    if (handFile_.empty()) {
        drawnImage_.clear();
        Invalidate();
        return;
    }
    drawnImage_ = "file='" + handFile_ + "' ";
    if (!source_.isEmpty()) {
        char source[64];
        std::snprintf(source, sizeof source, "source='%d,%d,%d,%d'", source_.left(), source_.top(),
                      source_.left() + source_.width(), source_.top() + source_.height());
        drawnImage_ += source;
    }
    Invalidate();
}

void CHandImgSelectButtonUI::ApplyCursor(bool over) {
    QWidget* host = manager_ != nullptr ? manager_->GetPaintWindow() : nullptr;
    if (host == nullptr || cursorShape_ < 0) {
        return;
    }
    if (over) {
        host->setCursor(static_cast<Qt::CursorShape>(cursorShape_));
    } else {
        host->unsetCursor();
    }
}

void CHandImgSelectButtonUI::SetPos(QRect rect, bool needInvalidate) {
    const QSize old = pos_.size();
    CButtonUI::SetPos(rect, needInvalidate);
    if (pos_.size() != old && !handFile_.empty()) {
        ResetSource();
    }
}

void CHandImgSelectButtonUI::SetAttribute(std::string_view name, std::string_view value) {
    const std::string key = ToLower(name);
    if (key == "handimage") {
        SetHandImage(std::string(value));
        return;
    }
    if (key == "cursor") {
        const std::string word = ToLower(value);
        const auto it = std::find_if(kCursors.begin(), kCursors.end(),
                                     [&word](const auto& entry) { return word == entry.first; });
        cursorShape_ = it == kCursors.end() ? -1 : static_cast<int>(it->second);
        return;
    }
    CButtonUI::SetAttribute(name, value);
}

void CHandImgSelectButtonUI::DoEvent(TEventUI& event) {
    if (!IsEnabled()) {
        CButtonUI::DoEvent(event);
        return;
    }
    switch (event.Type) {
        case EventType::MouseEnter:
            ApplyCursor(true);
            CButtonUI::DoEvent(event);
            if (manager_ != nullptr) {
                manager_->SendNotify(this, kNotifyMouseEnter);
            }
            return;
        case EventType::MouseLeave:
            ApplyCursor(false);
            CButtonUI::DoEvent(event);
            if (manager_ != nullptr) {
                manager_->SendNotify(this, kNotifyMouseLeave);
            }
            return;
        case EventType::ButtonDown:
            dragging_ = true;
            dragStartMouse_ = event.ptMouse;
            dragStartSource_ = source_.topLeft();
            CButtonUI::DoEvent(event);
            return;
        case EventType::MouseMove:
            if (dragging_) {
                PanTo(event.ptMouse);
            }
            return;
        case EventType::ButtonUp:
            dragging_ = false;
            CButtonUI::DoEvent(event);
            return;
        default:
            CButtonUI::DoEvent(event);
            return;
    }
}

void CHandImgSelectButtonUI::PaintStatusImage(QPainter& painter) {
    CButtonUI::PaintStatusImage(painter);
    DrawImage(painter, drawnImage_);
}

}  // namespace ui
