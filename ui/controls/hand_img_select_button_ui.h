#pragma once

#include "ui/toolkit/button_ui.h"

#include <QPoint>
#include <QRect>
#include <QSize>

#include <string>

// CHandImgSelectButtonUI: a button that shows a picture larger than itself through a window the
// user pans by dragging with the left button. The window (the image's source rectangle, in image
// pixels) starts at the top-left corner, is as large as the button (in skin units) and never
// leaves the image. A picture no larger than the button is shown whole. Entering and leaving send
// "msenter" and "msleave". Attributes: handimage (a file under the skin folder) and cursor (the
// pointer shape over the button: arrow, ibeam, wait, cross, uparrow, size, icon, sizenwse,
// sizenesw, sizewe, sizens, sizeall, no, hand).
//
// Thread: the UI thread only.

namespace ui {

class CHandImgSelectButtonUI : public CButtonUI {
public:
    std::string GetClass() const override;
    void* GetInterface(std::string_view name) override;

    // Reads the picture's size and shows it from its top-left corner.
    void SetHandImage(const std::string& file);
    const std::string& GetHandImage() const { return handFile_; }
    QSize GetImageSize() const { return imageSize_; }
    // The source rectangle shown (empty while the whole picture is shown).
    QRect GetSourceRect() const { return source_; }
    // The image string drawn over the button.
    const std::string& GetDrawnImage() const { return drawnImage_; }
    bool IsDragging() const { return dragging_; }

    void SetPos(QRect rect, bool needInvalidate = true) override;
    void SetAttribute(std::string_view name, std::string_view value) override;
    void DoEvent(TEventUI& event) override;
    void PaintStatusImage(QPainter& painter) override;

private:
    QSize ButtonSizeInUnits() const;
    void ResetSource();
    // Moves the source rectangle to the drag's start place plus the pointer's travel, kept inside
    // the image.
    void PanTo(QPoint mouse);
    void RebuildDrawnImage();
    void ApplyCursor(bool over);

    std::string handFile_;
    QSize imageSize_;
    QRect source_;
    std::string drawnImage_;
    QPoint dragStartMouse_;
    QPoint dragStartSource_;
    bool dragging_ = false;
    int cursorShape_ = -1;  // Qt::CursorShape, -1: the window's own
};

}  // namespace ui
