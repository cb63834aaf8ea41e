#pragma once

#include "ui/toolkit/control_ui.h"

#include <string>
#include <utility>
#include <vector>

// CShootPatternUI: the recoil panel's preview (element "ShootPattern"). It draws a gun's path,
// the pointer's position after each bullet starting from the origin, scaled to fit the control
// with the origin marked, and the selected bullet's point ringed.
//
// Thread: the UI thread only.
class CShootPatternUI : public ui::CControlUI {
public:
    std::string GetClass() const override;
    void* GetInterface(std::string_view name) override;

    // Point i is where the pointer stands after bullet i; selected is a bullet index or -1.
    void SetPath(std::vector<std::pair<int, int>> points, int selected);
    const std::vector<std::pair<int, int>>& Path() const { return points_; }
    int Selected() const { return selected_; }

    void PaintStatusImage(QPainter& painter) override;

private:
    std::vector<std::pair<int, int>> points_;
    int selected_ = -1;
};
