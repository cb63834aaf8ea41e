#pragma once

#include "tests/support/qt_application.h"
#include "tests/support/skin_test_env.h"
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
#include "ui/controls/wnd_ui.h"
#include "ui/toolkit/builtin_controls.h"
#include "ui/toolkit/control_factory.h"
#include "ui/toolkit/dialog_builder.h"
#include "ui/toolkit/resource_manager.h"
#include "ui/toolkit/window_impl_base.h"

#include <gtest/gtest.h>

#include <QFileInfo>
#include <QWidget>

#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

// A window over an inline skin (the real skin folder behind it) that records every notification
// as "type:sender".
class CControlsWnd : public ui::WindowImplBase {
public:
    explicit CControlsWnd(std::string skin) : skin_(std::move(skin)) {}
    std::string GetWindowClassName() const override { return "ControlsWnd"; }
    std::string GetSkinFile() override { return skin_; }
    void Notify(ui::TNotifyUI& msg) override {
        if (msg.sType == ui::kNotifyWindowInit || msg.sType == ui::kNotifyWindowSize ||
            msg.sType == ui::kNotifyTimer) {
            return;
        }
        notes.push_back(msg.sType + ":" + (msg.pSender != nullptr ? msg.pSender->GetName() : ""));
    }
    template <typename Control>
    Control* Find(const std::string& name, const char* kind) {
        ui::CControlUI* control = m_pm.FindControl(name);
        return control != nullptr ? static_cast<Control*>(control->GetInterface(kind)) : nullptr;
    }
    // Builds a layout file into the container, as the main window does with its bar items.
    template <typename Control>
    Control* BuildInto(const std::string& file, const std::string& container, const char* kind) {
        ui::CDialogBuilder builder;
        ui::CControlUI* root = builder.Create(file, this, &m_pm);
        auto* parent = Find<ui::CContainerUI>(container, "Container");
        if (root == nullptr || parent == nullptr) {
            delete root;
            return nullptr;
        }
        parent->Add(root);
        m_pm.UpdateLayout();
        return static_cast<Control*>(root->GetInterface(kind));
    }
    void Layout() {
        m_pm.NeedUpdate();
        m_pm.UpdateLayout();
    }
    std::vector<std::string> notes;

private:
    std::string skin_;
};

class ControlsTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        EnsureQtApplication();
        ui::CPaintManagerUI::SetResourcePath(ProgramDir() + "/skin/");
        // The program registers its classes by class name; the builder then finds element "X" as "CXUI".
        auto& factory = ui::CControlFactory::GetInstance();
        factory.RegistControl("CDeviceOptionUI", [] { return new ui::CDeviceOptionUI; });
        factory.RegistControl("CMpDevicePowerUI", [] { return new ui::CMpDevicePowerUI; });
        factory.RegistControl("CSelectPanelUI", [] { return new ui::CSelectPanelUI; });
        factory.RegistControl("CDeviceKeyButtonUI", [] { return new ui::CDeviceKeyButtonUI; });
        factory.RegistControl("CCircleProgressUI", [] { return new ui::CCircleProgressUI; });
        factory.RegistControl("CHandImgButtonUI", [] { return new ui::CHandImgButtonUI; });
        factory.RegistControl("CHandImgSelectButtonUI", [] { return new ui::CHandImgSelectButtonUI; });
        factory.RegistControl("CRedioMacroButtonUI", [] { return new ui::CRedioMacroButtonUI; });
        factory.RegistControl("CComboEditContainerElementUI",
                              [] { return new ui::CComboEditContainerElementUI; });
        factory.RegistControl("CChartViewUI", [] { return new ui::CChartViewUI; });
        factory.RegistControl("CWndUI", [] { return new ui::CWndUI; });
    }
    void SetUp() override { ASSERT_TRUE(ui::CResourceManager::GetInstance().LoadLanguage("lan_en.xml")); }

    std::unique_ptr<CControlsWnd> Open(const std::string& body, int width = 640, int height = 360) {
        auto wnd = std::make_unique<CControlsWnd>("<Window size=\"" + std::to_string(width) + "," +
                                                  std::to_string(height) +
                                                  "\"><Font id=\"7\" name=\"Noto Sans\" size=\"14\"/>"
                                                  "<VerticalLayout name=\"root\" bkcolor=\"#FF15171C\">" +
                                                  body + "</VerticalLayout></Window>");
        wnd->Create(nullptr, "controls", ui::WS_POPUP | ui::WS_VISIBLE, 0);
        wnd->GetPaintManager().UpdateLayout();
        return wnd;
    }

    static void Save(CControlsWnd& wnd, const std::string& name) {
        ASSERT_TRUE(SaveRender(wnd.GetPaintManager(), *wnd.GetWidget(), name));
    }
};
