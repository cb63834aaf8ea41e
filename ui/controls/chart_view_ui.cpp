#include "ui/controls/chart_view_ui.h"

#include "ui/toolkit/paint_manager_ui.h"
#include "ui/toolkit/render_engine.h"
#include "ui/toolkit/ui_parse.h"

#include <QFont>
#include <QPainter>

#include <algorithm>
#include <array>
#include <cmath>
#include <numeric>

namespace ui {
namespace {

// The accent first, then colours that stay apart from it on the dark background.
constexpr std::array<std::uint32_t, 6> kSliceColours{0xFF0099FF, 0xFF33C48D, 0xFFF5A524,
                                                     0xFFE5484D, 0xFF9B6BFF, 0xFF9AA0AA};
constexpr std::uint32_t kTextColour = 0xFFE6E8EB;
constexpr int kTextHeight = 18;
constexpr int kBarGap = 8;

double PositiveSum(const std::vector<CChartViewUI::SItem>& items) {
    return std::accumulate(items.begin(), items.end(), 0.0,
                           [](double sum, const auto& item) { return sum + std::max(0.0, item.value); });
}

}  // namespace

std::string CChartViewUI::GetClass() const {
    return "ChartView";
}

void* CChartViewUI::GetInterface(std::string_view name) {
    return name == "ChartView" ? this : CControlUI::GetInterface(name);
}

void CChartViewUI::AddItem(const std::string& text, double value) {
    items_.push_back(SItem{text, value});
    Invalidate();
}

void CChartViewUI::RemoveAllItems() {
    items_.clear();
    Invalidate();
}

void CChartViewUI::SetAttribute(std::string_view name, std::string_view value) {
    const std::string key = ToLower(name);
    const std::string text(value);
    if (key == "view") {
        view_ = EqualsNoCase(value, "histpgram") ? EView::Histogram : EView::Pie;
    } else if (key == "shadowimage") {
        shadowImage_ = text;
    } else if (key == "shadowimageheight") {
        shadowImageHeight_ = std::max(0, ParseInt(value));
    } else if (key == "pillarimage") {
        pillarImage_ = text;
    } else if (key == "pillarimagewidth") {
        pillarImageWidth_ = std::max(0, ParseInt(value));
    } else if (key == "showhtml") {
        showHtml_ = EqualsNoCase(value, "true");
    } else if (key == "showtext") {
        showText_ = EqualsNoCase(value, "true");
    } else if (key == "font") {
        font_ = ParseInt(value, -1);
    } else {
        CControlUI::SetAttribute(name, value);
        return;
    }
    Invalidate();
}

void CChartViewUI::PaintStatusImage(QPainter& painter) {
    CControlUI::PaintStatusImage(painter);
    if (items_.empty() || PositiveSum(items_) <= 0.0) {
        return;
    }
    if (view_ == EView::Pie) {
        PaintPie(painter);
    } else {
        PaintHistogram(painter);
    }
}

void CChartViewUI::PaintPie(QPainter& painter) {
    const double total = PositiveSum(items_);
    const int textRows = ShowsTexts() ? static_cast<int>(items_.size()) : 0;
    const QRect area = pos_.adjusted(0, 0, 0, -Scaled(kTextHeight) * textRows);
    const int side = std::min(area.width(), area.height());
    if (side <= 0) {
        return;
    }
    const QRect circle(area.center().x() - side / 2, area.top(), side, side);
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    double start = 90.0;
    for (std::size_t i = 0; i < items_.size(); ++i) {
        const double sweep = std::max(0.0, items_[i].value) * 360.0 / total;
        painter.setBrush(ToQColor(kSliceColours[i % kSliceColours.size()]));
        painter.drawPie(circle, static_cast<int>(std::lround(start * 16)),
                        -static_cast<int>(std::lround(sweep * 16)));
        start -= sweep;
    }
    painter.restore();
    const QFont font = manager_ != nullptr ? manager_->GetFont(font_) : QFont();
    for (int row = 0; row < textRows; ++row) {
        const QRect line(pos_.left(), area.bottom() + 1 + row * Scaled(kTextHeight), pos_.width(),
                         Scaled(kTextHeight));
        CRenderEngine::DrawColor(painter,
                                 QRect(line.left(), line.center().y() - Scaled(4), Scaled(8), Scaled(8)),
                                 kSliceColours[static_cast<std::size_t>(row) % kSliceColours.size()]);
        CRenderEngine::DrawText(painter, line.adjusted(Scaled(14), 0, 0, 0),
                                items_[static_cast<std::size_t>(row)].text, kTextColour, font,
                                DT_LEFT | DT_VCENTER | DT_SINGLELINE);
    }
}

void CChartViewUI::PaintHistogram(QPainter& painter) {
    const double highest = std::max_element(items_.begin(), items_.end(), [](const auto& a, const auto& b) {
                               return a.value < b.value;
                           })->value;
    const int count = static_cast<int>(items_.size());
    const int textHeight = ShowsTexts() ? Scaled(kTextHeight) : 0;
    const int shadow = Scaled(shadowImageHeight_);
    const int baseline = pos_.bottom() + 1 - textHeight - shadow;
    const int slot = pos_.width() / count;
    const int barWidth = pillarImageWidth_ > 0 ? std::min(slot, Scaled(pillarImageWidth_))
                                               : std::max(1, slot - Scaled(kBarGap));
    const QFont font = manager_ != nullptr ? manager_->GetFont(font_) : QFont();
    for (int i = 0; i < count; ++i) {
        const SItem& item = items_[static_cast<std::size_t>(i)];
        const int height = static_cast<int>((baseline - pos_.top()) * std::max(0.0, item.value) / highest);
        const QRect bar(pos_.left() + i * slot + (slot - barWidth) / 2, baseline - height, barWidth, height);
        if (pillarImage_.empty() || !DrawImage(painter, pillarImage_, bar)) {
            CRenderEngine::DrawColor(painter, bar, kSliceColours.front(), QSize(Scaled(2), Scaled(2)));
        }
        if (textHeight > 0) {
            CRenderEngine::DrawText(
                painter, QRect(pos_.left() + i * slot, pos_.bottom() + 1 - textHeight, slot, textHeight),
                item.text, kTextColour, font, DT_CENTER | DT_VCENTER | DT_SINGLELINE);
        }
    }
    if (shadow > 0 && !shadowImage_.empty()) {
        DrawImage(painter, shadowImage_, QRect(pos_.left(), baseline, pos_.width(), shadow));
    }
}

}  // namespace ui
