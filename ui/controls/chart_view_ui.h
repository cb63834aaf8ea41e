#pragma once

#include "ui/toolkit/control_ui.h"

#include <string>
#include <vector>

// CChartViewUI: a pie chart or a bar chart ("histogram") of named values. Only a skin places it;
// nothing in the program fills it. Attributes: view ("pie" or "histpgram"), shadowimage and
// shadowimageheight (a strip under the bars), pillarimage and pillarimagewidth (each bar's
// picture; without it the bars are filled with the accent), showhtml and showtext ("true" to
// write the item texts; this toolkit has no HTML text, so both write plain text), font.
//
// Thread: the UI thread only.

namespace ui {

class CChartViewUI : public CControlUI {
public:
    enum class EView { Pie, Histogram };

    struct SItem {
        std::string text;
        double value = 0.0;
    };

    std::string GetClass() const override;
    void* GetInterface(std::string_view name) override;

    EView GetView() const { return view_; }
    void AddItem(const std::string& text, double value);
    void RemoveAllItems();
    const std::vector<SItem>& GetItems() const { return items_; }

    void SetAttribute(std::string_view name, std::string_view value) override;
    void PaintStatusImage(QPainter& painter) override;

private:
    void PaintPie(QPainter& painter);
    void PaintHistogram(QPainter& painter);
    bool ShowsTexts() const { return showText_ || showHtml_; }

    EView view_ = EView::Pie;
    std::string shadowImage_;
    int shadowImageHeight_ = 0;
    std::string pillarImage_;
    int pillarImageWidth_ = 0;
    bool showHtml_ = false;
    bool showText_ = false;
    int font_ = -1;
    std::vector<SItem> items_;
};

}  // namespace ui
