#pragma once

#include "devices/mouse/shoot_data.h"
#include "ui/toolkit/horizontal_layout_ui.h"

#include <array>
#include <functional>
#include <optional>
#include <string>

namespace ui {
class CEditUI;
class CLabelUI;
class COptionUI;
class CTabLayoutUI;
}  // namespace ui
class CShootPatternUI;

// CShootControlUI: the recoil panel of the mouse page (skin "XML\CustomControlXML\ShootControl.xml",
// element "ShootControl", named "ShootControlItem"). It edits one bullet of one gun at a time in
// the mouse's shoot files (CShootData) and draws the gun's path beside it; nothing is cached, so
// every load and save reads the file again. Uploading is the page's (the uploader).
//
// While the panel writes its own controls, the events they raise are not the user's: the check
// boxes' and options' events are not raised at all.
//
// Thread: the UI thread only.
class CShootControlUI : public ui::CHorizontalLayoutUI {
public:
    std::string GetClass() const override;
    void* GetInterface(std::string_view name) override;

    void SetFolders(const std::string& userFolder, const std::string& defaultFolder);
    // Looks the controls up (a missing one writes a debug line), restores every gun whose file
    // is missing or damaged from the default folder. Ready when every control was found.
    void Initialise();
    bool IsReady() const { return ready_; }

    void SelectGun(int gun);
    // Clamped to 0..29; shows the bullet's number and its values.
    void SelectBullet(int bullet);
    void StepBullet(int delta) { SelectBullet(bullet_ + delta); }
    // A click on a gun or bullet option. The options form no skin group (a group would span every
    // page of the window): the panel keeps exactly one of each selected, so a click on the current
    // one leaves it selected.
    void ChooseGun(int gun);
    void ChooseBullet(int bullet);
    // A direction check box changed: its text follows.
    void ShowDirection();
    // The entries into the current bullet, clamped; the entries then show what was stored.
    CShootData::Result SaveBullet();
    CShootData::Result ResetGun();
    CShootData::Result Import(const std::string& path);
    CShootData::Result Export(const std::string& path) const;

    int CurrentGun() const { return gun_; }
    int CurrentBullet() const { return bullet_; }
    CShootData Data() const { return CShootData(userFolder_, defaultFolder_); }
    CShootPatternUI* Pattern() const { return pattern_; }

private:
    template <class T>
    T* Bind(const std::string& name, const char* interfaceName);
    void LoadBullet();
    void ShowPattern();
    static void Check(ui::COptionUI* option, bool selected);

    std::string userFolder_;
    std::string defaultFolder_;
    int gun_ = 0;
    int bullet_ = -1;
    bool ready_ = false;
    std::array<ui::COptionUI*, CShootData::kGunCount> guns_{};
    std::array<ui::COptionUI*, CShootData::kBulletCount> bullets_{};
    ui::CTabLayoutUI* gunPicture_ = nullptr;
    ui::CLabelUI* bulletIndex_ = nullptr;
    ui::COptionUI* xCheck_ = nullptr;
    ui::COptionUI* yCheck_ = nullptr;
    ui::CEditUI* xEdit_ = nullptr;
    ui::CEditUI* yEdit_ = nullptr;
    ui::CEditUI* delayEdit_ = nullptr;
    CShootPatternUI* pattern_ = nullptr;
};
