#include "app/control_factory_tables.h"

#include "ui/toolkit/control_factory.h"
#include "ui/toolkit/dialog_builder.h"
#include "ui/toolkit/ui_parse.h"

#include <array>
#include <functional>

namespace app {
namespace {

using Creator = std::function<ui::CControlUI*()>;

struct SClassRow {
    const char* className;
    Creator creator;  // empty while the class is not part of this build
};

struct SElementRow {
    const char* element;
    Creator creator;          // a new control, or
    const char* subTreeFile;  // a sub-tree built from this file (relative to the skin folder)
};

const std::array<SClassRow, 22>& ClassTable() {
    static const std::array<SClassRow, 22> table{{
        {"CCircleProgressUI", {}},   {"CChartViewUI", {}},           {"CWndUI", {}},
        {"CSelectPanelUI", {}},      {"CDeviceKeyButtonUI", {}},     {"CUpdateInfoListItemUI", {}},
        {"CDeviceOptionUI", {}},     {"CMpDevicePowerUI", {}},       {"CComboEditContainerElementUI", {}},
        {"CHandImgButtonUI", {}},    {"CHandImgSelectButtonUI", {}}, {"CRedioMacroButtonUI", {}},
        {"CLightControlUI", {}},     {"CMacroControlUI", {}},        {"CKeySetControlUI", {}},
        {"CDeviceProfileUI", {}},    {"CShootControlUI", {}},        {"CMagicControlUI", {}},
        {"CVoice6533ControlUI", {}}, {"CPellixUSBDevice", {}},       {"CPellixMousePadDevice", {}},
        {"CPellixHS6533Device", {}},
    }};
    return table;
}

const std::array<SElementRow, 25>& ElementTable() {
    static const std::array<SElementRow, 25> table{{
        {"CircleProgress", {}, nullptr},
        {"SelectPanel", {}, nullptr},
        {"DeviceKeyButton", {}, nullptr},
        {"HandImgButton", {}, nullptr},
        {"HandImgSelectButton", {}, nullptr},
        {"RedioMacroButton", {}, nullptr},
        {"ComboEditContainerElement", {}, nullptr},
        {"PellixMousePadDevice", {}, nullptr},
        {"PellixHS6533Device", {}, nullptr},
        {"PellixMouseDevice", {}, nullptr},
        {"PellixKeyboardDevice", {}, nullptr},
        {"DeviceProfile", {}, nullptr},
        {"LightControl", {}, nullptr},
        {"MagicControl", {}, nullptr},
        {"Voice6533Control", {}, nullptr},
        {"KeySetControl", {}, nullptr},
        {"ShootControl", {}, nullptr},
        {"DeviceProfileUI", {}, "XML\\CustomControlXML\\DeviceProfile.xml"},
        {"LightSetControlUI", {}, "XML\\CustomControlXML\\LightControl.xml"},
        {"Voice6533SetControlUI", {}, "XML\\CustomControlXML\\Voice6533Control.xml"},
        {"MagicSetControlUI", {}, "XML\\CustomControlXML\\MagicControl.xml"},
        {"KeySetControlUI", {}, "XML\\CustomControlXML\\KeySetControl.xml"},
        {"MacroSetControlUI", {}, "XML\\CustomControlXML\\MacroControl.xml"},
        {"ShootKeySetControlUI", {}, "XML\\CustomControlXML\\ShootControl.xml"},
        {"VirtualSetControlUI", {}, "XML\\CustomControlXML\\VirtualSet.xml"},
    }};
    return table;
}

}  // namespace

int RegisterControlClasses() {
    int registered = 0;
    for (const SClassRow& row : ClassTable()) {
        if (row.creator && ui::CControlFactory::GetInstance().RegistControl(row.className, row.creator)) {
            ++registered;
        }
    }
    return registered;
}

ui::CControlUI* CreateMainWindowControl(const std::string& element, ui::IDialogBuilderCallback* callback,
                                        ui::CPaintManagerUI* manager) {
    for (const SElementRow& row : ElementTable()) {
        if (!ui::EqualsNoCase(element, row.element)) {
            continue;
        }
        if (row.subTreeFile != nullptr) {
            ui::CDialogBuilder builder;
            return builder.Create(row.subTreeFile, callback, manager);
        }
        return row.creator ? row.creator() : nullptr;
    }
    return nullptr;
}

}  // namespace app
