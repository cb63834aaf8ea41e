#include "app/control_factory_tables.h"

#include "device/pellix_usb_device.h"
#include "devices/common/key_set_control_ui.h"
#include "devices/common/light_control_ui.h"
#include "devices/headset/magic_control_ui.h"
#include "devices/headset/pellix_hs6533_device.h"
#include "devices/headset/voice6533_control_ui.h"
#include "devices/keyboard/pellix_keyboard_device.h"
#include "devices/mouse/pellix_mouse_device.h"
#include "devices/mouse/shoot_control_ui.h"
#include "devices/mouse/shoot_pattern_ui.h"
#include "devices/pad/pellix_mouse_pad_device.h"
#include "macro/macro_control_ui.h"
#include "profile/device_profile_ui.h"
#include "ui/controls/chart_view_ui.h"
#include "ui/controls/circle_progress_ui.h"
#include "ui/controls/combo_edit_container_element_ui.h"
#include "ui/controls/device_key_button_ui.h"
#include "ui/controls/device_option_ui.h"
#include "ui/controls/hand_img_button_ui.h"
#include "ui/controls/hand_img_select_button_ui.h"
#include "ui/controls/mp_device_power_ui.h"
#include "ui/controls/redio_macro_button_ui.h"
#include "ui/controls/select_panel_ui.h"
#include "ui/controls/update_info_list_item_ui.h"
#include "ui/controls/wnd_ui.h"
#include "ui/toolkit/control_factory.h"
#include "ui/toolkit/dialog_builder.h"
#include "ui/toolkit/ui_parse.h"

#include <array>
#include <functional>

namespace app {
namespace {

using Creator = std::function<ui::CControlUI*()>;

template <typename Control>
ui::CControlUI* Make() {
    return new Control();
}

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
        {"CCircleProgressUI", Make<ui::CCircleProgressUI>},
        {"CChartViewUI", Make<ui::CChartViewUI>},
        {"CWndUI", Make<ui::CWndUI>},
        {"CSelectPanelUI", Make<ui::CSelectPanelUI>},
        {"CDeviceKeyButtonUI", Make<ui::CDeviceKeyButtonUI>},
        {"CUpdateInfoListItemUI", Make<ui::CUpdateInfoListItemUI>},
        {"CDeviceOptionUI", Make<ui::CDeviceOptionUI>},
        {"CMpDevicePowerUI", Make<ui::CMpDevicePowerUI>},
        {"CComboEditContainerElementUI", Make<ui::CComboEditContainerElementUI>},
        {"CHandImgButtonUI", Make<ui::CHandImgButtonUI>},
        {"CHandImgSelectButtonUI", Make<ui::CHandImgSelectButtonUI>},
        {"CRedioMacroButtonUI", Make<ui::CRedioMacroButtonUI>},
        {"CLightControlUI", Make<CLightControlUI>},
        {"CMacroControlUI", Make<CMacroControlUI>},
        {"CKeySetControlUI", Make<CKeySetControlUI>},
        {"CDeviceProfileUI", Make<CDeviceProfileUI>},
        {"CShootControlUI", Make<CShootControlUI>},
        {"CMagicControlUI", Make<CMagicControlUI>},
        {"CVoice6533ControlUI", Make<CVoice6533ControlUI>},
        {"CPellixUSBDevice", Make<CPellixUSBDevice>},
        {"CPellixMousePadDevice", Make<CPellixMousePadDevice>},
        {"CPellixHS6533Device", Make<CPellixHS6533Device>},
    }};
    return table;
}

const std::array<SElementRow, 29>& ElementTable() {
    static const std::array<SElementRow, 29> table{{
        {"CircleProgress", Make<ui::CCircleProgressUI>, nullptr},
        {"SelectPanel", Make<ui::CSelectPanelUI>, nullptr},
        {"DeviceKeyButton", Make<ui::CDeviceKeyButtonUI>, nullptr},
        {"HandImgButton", Make<ui::CHandImgButtonUI>, nullptr},
        {"HandImgSelectButton", Make<ui::CHandImgSelectButtonUI>, nullptr},
        {"RedioMacroButton", Make<ui::CRedioMacroButtonUI>, nullptr},
        {"ComboEditContainerElement", Make<ui::CComboEditContainerElementUI>, nullptr},
        {"PellixMousePadDevice", Make<CPellixMousePadDevice>, nullptr},
        {"PellixHS6533Device", Make<CPellixHS6533Device>, nullptr},
        {"PellixMouseDevice", Make<CPellixMouseDevice>, nullptr},
        {"PellixKeyboardDevice", Make<CPellixKeyboardDevice>, nullptr},
        {"DeviceProfile", Make<CDeviceProfileUI>, nullptr},
        {"LightControl", Make<CLightControlUI>, nullptr},
        {"MagicControl", Make<CMagicControlUI>, nullptr},
        {"Voice6533Control", Make<CVoice6533ControlUI>, nullptr},
        {"KeySetControl", Make<CKeySetControlUI>, nullptr},
        {"ShootControl", Make<CShootControlUI>, nullptr},
        {"DeviceProfileUI", {}, "XML\\CustomControlXML\\DeviceProfile.xml"},
        {"LightSetControlUI", {}, "XML\\CustomControlXML\\LightControl.xml"},
        {"KeyboardLightSetControlUI", {}, "XML\\CustomControlXML\\KeyboardLightControl.xml"},
        {"Voice6533SetControlUI", {}, "XML\\CustomControlXML\\Voice6533Control.xml"},
        {"MagicSetControlUI", {}, "XML\\CustomControlXML\\MagicControl.xml"},
        {"KeySetControlUI", {}, "XML\\CustomControlXML\\KeySetControl.xml"},
        {"KeyboardKeySetControlUI", {}, "XML\\CustomControlXML\\KeyboardKeySetControl.xml"},
        {"MacroSetControlUI", {}, "XML\\CustomControlXML\\MacroControl.xml"},
        {"ShootKeySetControlUI", {}, "XML\\CustomControlXML\\ShootControl.xml"},
        {"VirtualSetControlUI", {}, "XML\\CustomControlXML\\VirtualSet.xml"},
        {"MacroControl", Make<CMacroControlUI>, nullptr},
        {"ShootPattern", Make<CShootPatternUI>, nullptr},
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
