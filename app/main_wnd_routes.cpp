#include "app/main_wnd_routes.h"

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <utility>

namespace {

using Match = CNotificationRouter::Match;
using Handler = CNotificationRouter::Handler;

constexpr int kKindKeyboard = 1;
constexpr int kKindMouse = 2;
constexpr int kKindWirelessMouse = 6;
constexpr int kKindHeadset = 7;

bool IsMouseKind(int kind) {
    return kind == kKindMouse || kind == kKindWirelessMouse;
}

// A row that acts on the active page does nothing without one.
Handler OnPage(IRouteTargets& t, std::function<void(const RoutedNotification&)> action) {
    return [&t, action = std::move(action)](const RoutedNotification& n) {
        if (t.ActivePageKind() != 0)
            action(n);
    };
}

Handler OnMousePage(IRouteTargets& t, std::function<void(const RoutedNotification&)> action) {
    return [&t, action = std::move(action)](const RoutedNotification& n) {
        if (IsMouseKind(t.ActivePageKind()))
            action(n);
    };
}

Handler OnHeadsetPage(IRouteTargets& t) {
    return [&t](const RoutedNotification& n) {
        if (t.ActivePageKind() == kKindHeadset)
            t.PageHeadsetControl(n.sender.name);
    };
}

// The voice and voice changer panels' controls, by event; the headset page tells them apart.
void AddHeadsetRows(CNotificationRouter& r, IRouteTargets& t) {
    r.AddEach("selectchanged", Match::Prefix, {"magic_option_", "6533_eq_option_"}, OnHeadsetPage(t));
    r.AddEach("selectchanged", Match::Exact,
              {"magic_enable_option", "6533_MicIn_option", "6533_MicMoniter_option"}, OnHeadsetPage(t));
    r.Add("valuechanged", Match::Prefix, "6533_eq_hz_slider_", OnHeadsetPage(t));
    r.AddEach("valuechanged", Match::Exact, {"6533_MicIn_slider", "6533_MicMoniter_slider"},
              OnHeadsetPage(t));
    r.AddEach("click", Match::ExactNoCase, {"hs_EQ_btn_save", "hs_EQ_btn_delete"}, OnHeadsetPage(t));
    r.Add("itemselect", Match::Exact, "custom_eq_name_combo", OnHeadsetPage(t));
}

// The page a row started on. A modal window lets discovery switch or remove the active page
// meanwhile; what follows it acts on this page, or not at all once it is gone.
class CHeldPage {
public:
    explicit CHeldPage(IRouteTargets& t) : t_(t), id_(t.ActivePageId()) {}
    ~CHeldPage() { t_.HoldPage(0); }
    CHeldPage(const CHeldPage&) = delete;
    CHeldPage& operator=(const CHeldPage&) = delete;
    bool StillThere() { return t_.HoldPage(id_); }

private:
    IRouteTargets& t_;
    std::uintptr_t id_;
};

int Index(const RoutedNotification& n) {
    return static_cast<int>(n.sender.index);
}

// The write result as the user sees it: -1 a failure, n > 0 events to remove, 0 nothing.
void ReportWriteResult(IRouteTargets& t, int result) {
    if (result == -1) {
        t.ShowMessage("message_text_7");
    } else if (result != 0) {
        t.ShowMessageNumber("message_text_16", result);
    }
}

// Key assignment save: the panel's function becomes the selected key's, then the lock goes.
Handler SaveKey(IRouteTargets& t) {
    return OnPage(t, [&t](const auto&) {
        t.PageSaveKeyAssignment();
        t.ReleaseEditingLock(false);
    });
}

Handler LightChanged(IRouteTargets& t) {
    return OnPage(t, [&t](const RoutedNotification& n) { t.PageLightControlChanged(n.sender.name); });
}

Handler OnKeyboardPage(IRouteTargets& t, std::function<void(const RoutedNotification&)> action) {
    return [&t, action = std::move(action)](const RoutedNotification& n) {
        if (t.ActivePageKind() == kKindKeyboard)
            action(n);
    };
}

Handler KeyboardSetting(IRouteTargets& t) {
    return OnKeyboardPage(t,
                          [&t](const RoutedNotification& n) { t.PageKeyboardSettingChanged(n.sender.name); });
}

// The keyboard's system settings and the band and clicks of its light layer.
void AddKeyboardRows(CNotificationRouter& r, IRouteTargets& t) {
    r.Add("selectchanged", Match::Prefix, "repeat_delay_check_", KeyboardSetting(t));
    r.AddEach("selectchanged", Match::Exact, {"winlockflag_option", "wflag_option", "6flag_option"},
              KeyboardSetting(t));
    r.Add("valuechanged", Match::Exact, "repeat_rate_slider", KeyboardSetting(t));
    r.Add("click", Match::ExactNoCase, "reset_repeat_btn", KeyboardSetting(t));
    r.Add("click", Match::Prefix, "light_",
          OnKeyboardPage(t, [&t](const RoutedNotification& n) { t.PageLightKeyClicked(Index(n)); }));
    r.Add("click_select_end", Match::Exact, "device_key_light",
          OnKeyboardPage(t, [&t](const auto&) { t.PageLightKeysSelected(); }));
}

void AddClickRows(CNotificationRouter& r, IRouteTargets& t) {
    const std::string click = "click";
    r.Add(click, Match::ExactNoCase, "closebtn", [&t](const auto&) { t.ExitProcess(); });
    r.Add(click, Match::ExactNoCase, "nodevice_ok_btn", [&t](const auto&) { t.HideMainWindow(); });
    r.Add(click, Match::ExactNoCase, "control_light_status", [&t](const auto&) { t.ToggleLightControl(); });
    r.Add(click, Match::ExactNoCase, "minbtn",
          [&t](const auto&) { t.CaptionCommand(IRouteTargets::Caption::Minimize); });
    r.Add(click, Match::ExactNoCase, "maxbtn",
          [&t](const auto&) { t.CaptionCommand(IRouteTargets::Caption::Maximize); });
    r.Add(click, Match::ExactNoCase, "restorebtn",
          [&t](const auto&) { t.CaptionCommand(IRouteTargets::Caption::Restore); });
    r.Add(click, Match::ExactNoCase, "skinbtn", [&t](const auto&) { t.OpenSkinChooser(); });
    r.Add(click, Match::ExactNoCase, "setbtn", [&t](const auto&) { t.OpenSettingsWindow(true); });

    r.Add(click, Match::Prefix, "windowdeviceset_",
          [&t](const RoutedNotification& n) { t.OpenDesktopDeviceSettings(Index(n)); });
    r.Add(click, Match::Prefix, "key_", OnPage(t, [&t](const RoutedNotification& n) {
              if (!t.PageInKeyView())
                  return;
              t.PageKeyClicked(Index(n));
          }));
    r.Add(click, Match::Prefix, "color_option_",
          OnPage(t, [&t](const RoutedNotification& n) { t.PageLightPresetChosen(Index(n)); }));

    r.Add(click, Match::ExactNoCase, "default_btn", OnPage(t, [&t](const auto&) {
              CHeldPage page(t);
              if (!t.Confirm("message_text_22") || !page.StillThere())
                  return;
              t.PageRestoreDefaults();
          }));
    r.Add(click, Match::ExactNoCase, "device_reset_btn", OnPage(t, [&t](const auto&) {
              CHeldPage page(t);
              if (!t.Confirm("message_text_22") || !page.StillThere())
                  return;
              t.PageResetProfile();
              if (t.ActivePageKind() == kKindKeyboard) {
                  t.PageHideKeyEditor();
                  ReportWriteResult(t, t.PageWriteSettings());
                  if (page.StillThere())
                      t.PageRefresh();
              } else if (IsMouseKind(t.ActivePageKind())) {
                  t.PageWriteSettings();
                  t.PageRefresh();
                  t.PageHideKeyEditor();
              }
              t.ReleaseEditingLock(false);
          }));
    r.Add(click, Match::ExactNoCase, "key_butt_prosave", OnPage(t, [&t](const auto&) {
              CHeldPage page(t);
              ReportWriteResult(t, t.PageWriteSettings());
              if (page.StillThere())
                  t.PageRefresh();
              t.ReleaseEditingLock(false);
          }));
    r.Add(click, Match::ExactNoCase, "deng_same_mode",
          OnPage(t, [&t](const auto&) { t.ApplySameModeToAll(); }));
    r.Add(click, Match::ExactNoCase, "key_butt_keysave", SaveKey(t));
    r.Add(click, Match::ExactNoCase, "custom_bright_color_btn",
          OnPage(t, [&t](const auto&) { t.PageLightCustomColourAll(true); }));
    r.Add(click, Match::ExactNoCase, "custom_off_color_btn",
          OnPage(t, [&t](const auto&) { t.PageLightCustomColourAll(false); }));
    r.Add(click, Match::ExactNoCase, "key_butt_keydefalut", OnPage(t, [&t](const auto&) {
              t.PageShowDefaultKey();
              t.ReleaseEditingLock(false);
          }));
    r.Add(click, Match::ExactNoCase, "key_butt_keycancel", OnPage(t, [&t](const auto&) {
              t.PageShowCurrentKey();
              t.ReleaseEditingLock(false);
          }));
    r.Add(click, Match::ExactNoCase, "device_select_prev", [&t](const auto&) { t.SelectAdjacentDevice(-1); });
    r.Add(click, Match::ExactNoCase, "device_select_next", [&t](const auto&) { t.SelectAdjacentDevice(1); });
}

void AddSelectChangedRows(CNotificationRouter& r, IRouteTargets& t) {
    const std::string type = "selectchanged";
    r.Add(type, Match::Prefix, "DPI_enable_check_",
          OnMousePage(t, [&t](const auto& n) { t.PageStageEnabledChanged(Index(n)); }));
    r.Add(type, Match::Prefix, "polling_rate_option_", OnPage(t, [&t](const auto& n) {
              if (IsMouseKind(t.ActivePageKind()) || t.ActivePageKind() == kKindKeyboard)
                  t.PagePollingRateSelected(Index(n));
          }));
    r.Add(type, Match::Prefix, "mouse_device_seting_option_",
          OnMousePage(t, [&t](const auto& n) { t.PageSelectSettingsSubPage(Index(n)); }));
    r.Add(type, Match::Prefix, "key_ComBox_check_", SaveKey(t));
    r.AddEach(type, Match::Exact, {"pointer_precision_check", "scrolls_page_check"},
              OnMousePage(t, [&t](const auto& n) { t.PagePointerSettingChanged(n.sender.name); }));
    r.Add(type, Match::Exact, "device_select", [&t](const auto&) { t.DeviceSelectChanged(); });
    r.AddEach(type, Match::Exact,
              {"deng_Op_tab", "key_Op_tab", "macro_Op_tab", "system_Op_tab", "cursor_Op_tab",
               "6533_voice_Op_tab", "magic_Op_tab", "Virtual7.1_Op_tab"},
              OnPage(t, [&t](const auto& n) { t.PageShowTab(n.sender.name); }));
    r.AddEach(type, Match::Exact, {"deng_FXL_check", "deng_FXR_check", "deng_7color_check"}, LightChanged(t));
}

void AddSliderRows(CNotificationRouter& r, IRouteTargets& t) {
    r.Add("valuechanged", Match::Prefix, "DPI_slider_",
          OnMousePage(t, [&t](const auto& n) { t.PageDpiSliderReleased(Index(n)); }));
    r.AddEach("valuechanged", Match::Exact,
              {"pointer_speed_slider", "scroll_speed_slider", "double_click_slider"},
              OnMousePage(t, [&t](const auto& n) { t.PagePointerSettingChanged(n.sender.name); }));
    r.AddEach("valuechanged", Match::Exact, {"deng_light_slider", "deng_speed_slider"}, LightChanged(t));

    r.Add("movevaluechanged", Match::Prefix, "quorl_DPI_slider_", [&t](const auto& n) {
        const int value = t.SliderValue(n.sender.name);
        t.SetControlText("quorl_DPI_edit_" + std::to_string(n.sender.index), std::to_string(value));
    });
    r.Add("movevaluechanged", Match::Prefix, "DPI_slider_",
          OnMousePage(t, [&t](const auto& n) { t.PageDpiSliderMoved(Index(n)); }));
}

void AddKillFocusRows(CNotificationRouter& r, IRouteTargets& t) {
    r.Add("killfocus", Match::Prefix, "quorl_DPI_edit_", [&t](const auto& n) {
        const int value = ClampQuorlDpi(t.ControlText(n.sender.name));
        t.SetControlText(n.sender.name, std::to_string(value));
        t.SetSliderValue("quorl_DPI_slider_" + std::to_string(n.sender.index), value);
    });
    r.Add("killfocus", Match::Prefix, "DPI_edit_",
          OnMousePage(t, [&t](const auto& n) { t.PageDpiEditLeft(Index(n)); }));
    r.AddEach("killfocus", Match::Exact, {"deng_edit_R", "deng_edit_G", "deng_edit_B"}, LightChanged(t));
    r.Add("killfocus", Match::Exact, "keyset_keyboard_text_edit",
          [&t](const auto&) { t.SetKeyCapture(false); });
    r.AddEach("killfocus", Match::Exact,
              {"keyset_mouseswing_num_edit", "keyset_mouseswing_delay_edit", "keyset_mouseswing_speed_edit",
               "keyset_mousewheel_num_edit", "keyset_mousewheel_delay_edit", "keyset_mousewheel_speed_edit",
               "keyset_mousefire_interval_edit", "keyset_mousefire_num_edit", "keyset_macro_cycle_edit"},
              SaveKey(t));
}

void AddItemSelectRows(CNotificationRouter& r, IRouteTargets& t) {
    r.Add("itemselect", Match::Exact, "device_profile_combo",
          OnPage(t, [&t](const auto&) { t.StartProfileSwitchTimer(); }));
    r.AddEach("itemselect", Match::Exact,
              {"AST_set_comboSelect", "MSH_set_comboSelect", "Logolight_combo_modeSelect"},
              OnMousePage(t, [&t](const auto& n) { t.PageComboSelected(n.sender.name); }));
    r.Add("itemselect", Match::Exact, "light_combo_modeSelect", LightChanged(t));
    r.Add("itemselect", Match::Exact, "light_combo_custommodeSelect",
          OnPage(t, [&t](const auto&) { t.PageLightCustomGroupSelected(); }));
    r.Add("itemselect", Match::Exact, "keyset_function_combo",
          OnPage(t, [&t](const auto&) { t.PageKeySetFunctionSelected(); }));
    r.Add("itemselect", Match::Exact, "keyset_macro_over_combo",
          OnPage(t, [&t](const auto&) { t.PageKeySetMacroModeSelected(); }));
    r.AddEach("itemselect", Match::Exact,
              {"keyset_mousekey_combo", "keyset_mouseswing_combo", "keyset_mousewheel_combo",
               "keyset_mousedpi_combo", "keyset_media_combo", "keyset_system_combo", "keyset_macro_combo",
               "keyset_gunkey_combo", "keyset_combokey_combo"},
              SaveKey(t));
}

void AddProfileRows(CNotificationRouter& r, IRouteTargets& t) {
    using Action = IRouteTargets::ProfileAction;
    static const std::pair<const char*, Action> rows[] = {
        {"device_add_btn", Action::Add},
        {"device_sub_btn", Action::Delete},
        {"device_copy_btn", Action::Copy},
        {"device_import_btn", Action::Import},
        {"device_export_btn", Action::Export},
        {"device_profile_edit_save_btn", Action::Rename},
        {"profile_fun_spread_btn", Action::ToggleButtons},
    };
    for (const auto& [name, action] : rows) {
        r.Add("click", Match::ExactNoCase, name,
              OnPage(t, [&t, action = action](const auto&) { t.PageProfileAction(action); }));
    }
}

Handler Shoot(IRouteTargets& t, IRouteTargets::ShootAction action) {
    return OnMousePage(t, [&t, action](const RoutedNotification& n) { t.PageShootAction(action, Index(n)); });
}

void AddShootRows(CNotificationRouter& r, IRouteTargets& t) {
    using Action = IRouteTargets::ShootAction;
    static const std::pair<const char*, Action> clicks[] = {
        {"shootdate_save_btn", Action::Upload},     {"shootdate_reset_btn", Action::Reset},
        {"shootdate_import_btn", Action::Import},   {"shootdate_export_btn", Action::Export},
        {"bullet_selected_prev", Action::Previous}, {"bullet_selected_next", Action::Next},
    };
    for (const auto& [name, action] : clicks) {
        r.Add("click", Match::ExactNoCase, name, Shoot(t, action));
    }
    r.Add("selectchanged", Match::Prefix, "shoot_gun_op_", Shoot(t, Action::SelectGun));
    r.Add("selectchanged", Match::Prefix, "bullet_op_", Shoot(t, Action::SelectBullet));
    r.AddEach("selectchanged", Match::Exact, {"bullet_x_check", "bullet_y_check"},
              Shoot(t, Action::Direction));
    r.AddEach("killfocus", Match::Exact, {"bullet_x_eidt", "bullet_y_eidt", "bullet_delay_eidt"},
              Shoot(t, Action::Save));
}

void AddMenuRows(CNotificationRouter& r, IRouteTargets& t) {
    r.Add("menu", Match::Exact, "exit", [&t](const auto&) { t.CloseMainWindow(); });
    r.Add("menu", Match::Exact, "about_menu", [&t](const auto&) { t.OpenAboutWindow(); });
    r.Add("menu", Match::Exact, "setwnd_menu", [&t](const auto&) { t.OpenSettingsWindow(false); });
}

void AddMacroRows(CNotificationRouter& r, IRouteTargets& t) {
    static const char* const clicks[] = {"macro_btn_name_add",
                                         "macro_btn_name_sub",
                                         "macro_btn_name_edit",
                                         "macro_btn_save",
                                         "macro_btn_cancel",
                                         "macro_btn_import",
                                         "macro_btn_export",
                                         "macro_btn_up",
                                         "macro_btn_down",
                                         "macro_btn_uptop",
                                         "macro_btn_downbottom",
                                         "macro_btn_delete",
                                         "macro_btn_deleteall",
                                         "macro_btn_starredio",
                                         "macro_btn_stopredio",
                                         "macro_inset_moveleftkey_btn",
                                         "macro_inset_moverightkey_btn",
                                         "macro_inset_moveupkey_btn",
                                         "macro_inset_movedownkey_btn"};
    for (const char* name : clicks) {
        r.Add("click", Match::ExactNoCase, name,
              OnPage(t, [&t](const auto& n) { t.PageMacroCommand(n.sender.name); }));
    }
    static const char* const items[] = {"left_down",
                                        "left_up",
                                        "middle_down",
                                        "middle_up",
                                        "right_down",
                                        "right_up",
                                        "forward_down",
                                        "forward_up",
                                        "back_down",
                                        "back_up",
                                        "left_click",
                                        "middle_click",
                                        "right_click",
                                        "forward_click",
                                        "back_click",
                                        "redio_previous_record_time",
                                        "redio_previous_constant_time",
                                        "redio_previous_ignore_time",
                                        "redio_later_record_time",
                                        "redio_later_constant_time",
                                        "redio_later_ignore_time",
                                        "macro_action_edit"};
    for (const char* name : items) {
        r.Add("menu", Match::Exact, name,
              OnPage(t, [&t](const auto& n) { t.PageMacroCommand(n.sender.name); }));
    }
    r.Add("itemselect", Match::Exact, "macro_name_list",
          OnPage(t, [&t](const auto&) { t.PageMacroSelected(); }));
    r.Add("killfocus", Match::Exact, "macro_delay", OnPage(t, [&t](const auto&) { t.PageMacroDelayLeft(); }));
    r.Add("itemactivate", Match::Exact, "macro_action",
          OnPage(t, [&t](const auto&) { t.ShowMacroActionMenu(); }));
}

}  // namespace

int ClampQuorlDpi(const std::string& text) {
    const long value = std::strtol(text.c_str(), nullptr, 10);
    return static_cast<int>(std::clamp(value, 200L, 6500L));
}

void AddMainWndRoutes(CNotificationRouter& router, IRouteTargets& targets) {
    router.Add("windowinit", Match::Any, "", [&targets](const auto&) { targets.StartUp(); });
    router.Add("windowsize", Match::Exact, "root", [&targets](const auto&) { targets.RootResized(); });
    router.Add("colorchanged", Match::Exact, "deng_Color_Pallet",
               OnPage(targets, [&targets](const auto&) { targets.PageLightPaletteChanged(); }));
    router.Add("setfocus", Match::Exact, "keyset_keyboard_text_edit",
               [&targets](const auto&) { targets.SetKeyCapture(true); });
    AddClickRows(router, targets);
    AddSelectChangedRows(router, targets);
    AddSliderRows(router, targets);
    AddKillFocusRows(router, targets);
    AddItemSelectRows(router, targets);
    AddMenuRows(router, targets);
    AddProfileRows(router, targets);
    AddMacroRows(router, targets);
    AddHeadsetRows(router, targets);
    AddKeyboardRows(router, targets);
    AddShootRows(router, targets);
    router.EndHere("click_wpremove");
    router.EndHere("click_wpedit");
}
