#include "ui/toolkit/render_engine.h"

#include "ui/toolkit/image_attribute.h"
#include "ui/toolkit/paint_manager_ui.h"
#include "ui/toolkit/ui_parse.h"

#include <QFontMetrics>
#include <QPainter>
#include <QPainterPath>

namespace ui {
namespace {

QRectF ScaleSource(const QRect& source, double factor) {
    return QRectF(source.x() * factor, source.y() * factor, source.width() * factor,
                  source.height() * factor);
}

void DrawNineSlice(QPainter& painter, const QPixmap& pixmap, const QRectF& source, const QRect& dest,
                   const QMargins& cornerSource, const QMargins& cornerDest, bool hole) {
    const double sx[4] = {source.left(), source.left() + cornerSource.left(),
                          source.right() - cornerSource.right(), source.right()};
    const double sy[4] = {source.top(), source.top() + cornerSource.top(),
                          source.bottom() - cornerSource.bottom(), source.bottom()};
    const double dx[4] = {double(dest.left()), double(dest.left() + cornerDest.left()),
                          double(dest.left() + dest.width() - cornerDest.right()),
                          double(dest.left() + dest.width())};
    const double dy[4] = {double(dest.top()), double(dest.top() + cornerDest.top()),
                          double(dest.top() + dest.height() - cornerDest.bottom()),
                          double(dest.top() + dest.height())};
    for (int row = 0; row < 3; ++row) {
        for (int column = 0; column < 3; ++column) {
            if (hole && row == 1 && column == 1) {
                continue;
            }
            const QRectF to(QPointF(dx[column], dy[row]), QPointF(dx[column + 1], dy[row + 1]));
            const QRectF from(QPointF(sx[column], sy[row]), QPointF(sx[column + 1], sy[row + 1]));
            if (to.width() > 0 && to.height() > 0 && from.width() > 0 && from.height() > 0) {
                painter.drawPixmap(to, pixmap, from);
            }
        }
    }
}

}  // namespace

bool CRenderEngine::DrawImageString(QPainter& painter, CPaintManagerUI* manager, const QRect& rect,
                                    const std::string& text) {
    if (manager == nullptr || text.empty()) {
        return false;
    }
    const CImageAttribute image = CImageAttribute::Parse(text);
    if (image.IsEmpty()) {
        return false;
    }
    const CPaintManagerUI::Image* loaded = manager->GetImage(image.file, image.fromRes);
    if (loaded == nullptr || loaded->pixmap.isNull()) {
        return false;
    }
    const QPixmap& pixmap = loaded->pixmap;
    QRectF source =
        image.source.isEmpty() ? QRectF(pixmap.rect()) : ScaleSource(image.source, loaded->factor);
    source = source.intersected(QRectF(pixmap.rect()));
    if (source.isEmpty()) {
        return false;
    }
    QRect dest = rect;
    if (!image.dest.isEmpty()) {
        dest = manager->GetDPIObj().Scale(image.dest).translated(rect.topLeft());
    }
    painter.save();
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.setOpacity(painter.opacity() * image.fade / 255.0);
    if (image.xtiled || image.ytiled) {
        const QPixmap tile = pixmap.copy(source.toRect());
        painter.drawTiledPixmap(
            dest,
            tile.scaled(manager->GetDPIObj().Scale(image.source.isEmpty() ? (tile.size() / loaded->factor)
                                                                          : image.source.size()),
                        Qt::IgnoreAspectRatio, Qt::SmoothTransformation));
    } else if (!image.corner.isNull()) {
        const QMargins cornerSource(
            int(image.corner.left() * loaded->factor), int(image.corner.top() * loaded->factor),
            int(image.corner.right() * loaded->factor), int(image.corner.bottom() * loaded->factor));
        DrawNineSlice(painter, pixmap, source, dest, cornerSource, manager->GetDPIObj().Scale(image.corner),
                      image.hole);
    } else {
        painter.drawPixmap(QRectF(dest), pixmap, source);
    }
    painter.restore();
    return true;
}

void CRenderEngine::DrawColor(QPainter& painter, const QRect& rect, std::uint32_t argb, QSize round) {
    if ((argb >> 24) == 0 || rect.isEmpty()) {
        return;
    }
    if (round.isEmpty()) {
        painter.fillRect(rect, ToQColor(argb));
        return;
    }
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(ToQColor(argb));
    painter.drawRoundedRect(QRectF(rect), round.width(), round.height());
    painter.restore();
}

void CRenderEngine::DrawGradient(QPainter& painter, const QRect& rect, std::uint32_t from, std::uint32_t to,
                                 bool vertical, QSize round) {
    if (rect.isEmpty()) {
        return;
    }
    QLinearGradient gradient(rect.topLeft(), vertical ? QPointF(rect.left(), rect.bottom() + 1)
                                                      : QPointF(rect.right() + 1, rect.top()));
    gradient.setColorAt(0, ToQColor(from));
    gradient.setColorAt(1, ToQColor(to));
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(gradient);
    painter.drawRoundedRect(QRectF(rect), round.width(), round.height());
    painter.restore();
}

void CRenderEngine::DrawBorder(QPainter& painter, const QRect& rect, int size, std::uint32_t argb,
                               QSize round) {
    if (size <= 0 || (argb >> 24) == 0 || rect.isEmpty()) {
        return;
    }
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    QPen pen(ToQColor(argb));
    pen.setWidthF(size);
    painter.setPen(pen);
    painter.setBrush(Qt::NoBrush);
    const double inset = size / 2.0;
    const QRectF inner = QRectF(rect).adjusted(inset, inset, -inset, -inset);
    painter.drawRoundedRect(inner, std::max(0.0, round.width() - inset),
                            std::max(0.0, round.height() - inset));
    painter.restore();
}

void CRenderEngine::DrawText(QPainter& painter, const QRect& rect, const std::string& text,
                             std::uint32_t argb, const QFont& font, unsigned style) {
    if (text.empty() || rect.isEmpty()) {
        return;
    }
    int flags = 0;
    flags |= (style & DT_CENTER) ? Qt::AlignHCenter : (style & DT_RIGHT) ? Qt::AlignRight : Qt::AlignLeft;
    flags |= (style & DT_VCENTER) ? Qt::AlignVCenter : (style & DT_BOTTOM) ? Qt::AlignBottom : Qt::AlignTop;
    QString shown = QString::fromStdString(text);
    if (style & DT_WORDBREAK) {
        flags |= Qt::TextWordWrap;
    } else if (style & DT_END_ELLIPSIS) {
        shown = QFontMetrics(font).elidedText(shown, Qt::ElideRight, rect.width());
    }
    painter.save();
    painter.setFont(font);
    painter.setPen(ToQColor(argb == 0 ? 0xFFFFFFFF : argb));
    painter.drawText(rect, flags, shown);
    painter.restore();
}

}  // namespace ui
