#include "devices/mouse/shoot_control_ui.h"

#include "devices/mouse/shoot_pattern_ui.h"
#include "platform/debug.h"
#include "ui/toolkit/edit_ui.h"
#include "ui/toolkit/label_ui.h"
#include "ui/toolkit/option_ui.h"
#include "ui/toolkit/resource_manager.h"
#include "ui/toolkit/tab_layout_ui.h"

#include <algorithm>

namespace {

std::string Resolve(const std::string& key) {
    const std::string* text = ui::CResourceManager::GetInstance().GetText(key);
    return text != nullptr ? *text : key;
}

}  // namespace

std::string CShootControlUI::GetClass() const {
    return "ShootControl";
}

void* CShootControlUI::GetInterface(std::string_view name) {
    return name == "ShootControl" ? this : CHorizontalLayoutUI::GetInterface(name);
}

void CShootControlUI::SetFolders(const std::string& userFolder, const std::string& defaultFolder) {
    userFolder_ = userFolder;
    defaultFolder_ = defaultFolder;
}

template <class T>
T* CShootControlUI::Bind(const std::string& name, const char* interfaceName) {
    ui::CControlUI* control = FindSubControl(name);
    if (control == nullptr) {
        platform::DebugFormat("CShootControlUI: the panel has no control named '%s'\n", name.c_str());
        ready_ = false;
        return nullptr;
    }
    return static_cast<T*>(control->GetInterface(interfaceName));
}

void CShootControlUI::Initialise() {
    ready_ = true;
    for (size_t gun = 0; gun < guns_.size(); ++gun) {
        guns_[gun] = Bind<ui::COptionUI>("shoot_gun_op_" + std::to_string(gun), "Option");
    }
    for (size_t bullet = 0; bullet < bullets_.size(); ++bullet) {
        bullets_[bullet] = Bind<ui::COptionUI>("bullet_op_" + std::to_string(bullet), "Option");
    }
    gunPicture_ = Bind<ui::CTabLayoutUI>("shoot_image_display_switch", "TabLayout");
    bulletIndex_ = Bind<ui::CLabelUI>("bullet_select_index", "Label");
    xCheck_ = Bind<ui::COptionUI>("bullet_x_check", "Option");
    yCheck_ = Bind<ui::COptionUI>("bullet_y_check", "Option");
    xEdit_ = Bind<ui::CEditUI>("bullet_x_eidt", "Edit");
    yEdit_ = Bind<ui::CEditUI>("bullet_y_eidt", "Edit");
    delayEdit_ = Bind<ui::CEditUI>("bullet_delay_eidt", "Edit");
    pattern_ = Bind<CShootPatternUI>("shoot_pattern_preview", "ShootPattern");
    for (const char* name :
         {"shootdate_import_btn", "shootdate_export_btn", "shootdate_save_btn", "shootdate_reset_btn",
          "bullet_edit_layout", "bullet_selected_prev", "bullet_selected_next"}) {
        Bind<ui::CControlUI>(name, "Control");
    }
    if (!Data().RestoreMissing()) {
        platform::DebugFormat("CShootControlUI: some shoot files in '%s' could not be restored\n",
                              userFolder_.c_str());
    }
}

void CShootControlUI::Check(ui::COptionUI* option, bool selected) {
    if (option != nullptr) {
        option->Selected(selected, false);
    }
}

void CShootControlUI::SelectGun(int gun) {
    gun_ = std::clamp(gun, 0, CShootData::kGunCount - 1);
    for (size_t g = 0; g < guns_.size(); ++g) {
        Check(guns_[g], static_cast<int>(g) == gun_);
    }
    if (gunPicture_ != nullptr) {
        gunPicture_->SelectItem(gun_);
    }
    if (bullet_ >= 0) {
        LoadBullet();
    }
}

void CShootControlUI::ChooseGun(int gun) {
    if (gun >= 0 && gun < CShootData::kGunCount) {
        SelectGun(gun);
    }
}

void CShootControlUI::ChooseBullet(int bullet) {
    if (bullet >= 0 && bullet < CShootData::kBulletCount) {
        SelectBullet(bullet);
    }
}

void CShootControlUI::SelectBullet(int bullet) {
    bullet_ = std::clamp(bullet, 0, CShootData::kBulletCount - 1);
    for (size_t b = 0; b < bullets_.size(); ++b) {
        Check(bullets_[b], static_cast<int>(b) == bullet_);
    }
    if (bulletIndex_ != nullptr) {
        bulletIndex_->SetText(std::to_string(bullet_ + 1));
    }
    LoadBullet();
}

void CShootControlUI::LoadBullet() {
    const ShootBullet value = Data().Bullet(gun_, bullet_);
    Check(xCheck_, value.left);
    Check(yCheck_, value.up);
    ShowDirection();
    for (auto [edit, number] :
         {std::pair{xEdit_, value.x}, std::pair{yEdit_, value.y}, std::pair{delayEdit_, value.delay}}) {
        if (edit != nullptr) {
            edit->SetText(std::to_string(number));
        }
    }
    ShowPattern();
}

void CShootControlUI::ShowDirection() {
    if (xCheck_ != nullptr) {
        xCheck_->SetText(
            Resolve(xCheck_->IsSelected() ? "mouse_move_to_left_text" : "mouse_move_to_right_text"));
    }
    if (yCheck_ != nullptr) {
        yCheck_->SetText(
            Resolve(yCheck_->IsSelected() ? "mouse_move_to_up_text" : "mouse_move_to_down_text"));
    }
}

void CShootControlUI::ShowPattern() {
    if (pattern_ != nullptr) {
        pattern_->SetPath(CShootData::RecoilPath(Data().Bullets(gun_)), bullet_);
    }
}

CShootData::Result CShootControlUI::SaveBullet() {
    if (bullet_ < 0) {
        return CShootData::Result::kOk;
    }
    const auto entry = [](ui::CEditUI* edit, int high) {
        return edit != nullptr ? CShootData::ParseEntry(edit->GetText(), 0, high) : 0;
    };
    ShootBullet value;
    value.x = entry(xEdit_, CShootData::kMaxDistance);
    value.y = entry(yEdit_, CShootData::kMaxDistance);
    value.delay = entry(delayEdit_, CShootData::kMaxDelay);
    value.left = xCheck_ != nullptr && xCheck_->IsSelected();
    value.up = yCheck_ != nullptr && yCheck_->IsSelected();
    const CShootData::Result result = Data().SaveBullet(gun_, bullet_, value);
    LoadBullet();
    return result;
}

CShootData::Result CShootControlUI::ResetGun() {
    const CShootData::Result result = Data().Reset(gun_);
    SelectBullet(bullet_);
    return result;
}

CShootData::Result CShootControlUI::Import(const std::string& path) {
    const CShootData::Result result = Data().Import(gun_, path);
    SelectBullet(bullet_);
    return result;
}

CShootData::Result CShootControlUI::Export(const std::string& path) const {
    return Data().Export(gun_, path);
}
