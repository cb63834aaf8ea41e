#include "ui/toolkit/control_factory.h"

#include "ui/toolkit/builtin_controls.h"
#include "ui/toolkit/ui_parse.h"

namespace ui {
namespace {

template <typename T>
CControlFactory::Creator Make() {
    return [] { return static_cast<CControlUI*>(new T()); };
}

}  // namespace

CControlFactory& CControlFactory::GetInstance() {
    static CControlFactory factory;
    return factory;
}

CControlFactory::CControlFactory() {
    const std::pair<const char*, Creator> builtins[] = {
        {"Control", Make<CControlUI>()},
        {"Container", Make<CContainerUI>()},
        {"VerticalLayout", Make<CVerticalLayoutUI>()},
        {"HorizontalLayout", Make<CHorizontalLayoutUI>()},
        {"TabLayout", Make<CTabLayoutUI>()},
        {"Label", Make<CLabelUI>()},
        {"Text", Make<CTextUI>()},
        {"Button", Make<CButtonUI>()},
        {"Option", Make<COptionUI>()},
        {"CheckBox", Make<CCheckBoxUI>()},
        {"Progress", Make<CProgressUI>()},
        {"Slider", Make<CSliderUI>()},
        {"Edit", Make<CEditUI>()},
        {"RichEdit", Make<CRichEditUI>()},
        {"Combo", Make<CComboUI>()},
        {"List", Make<CListUI>()},
        {"ListLabelElement", Make<CListLabelElementUI>()},
        {"ListTextElement", Make<CListTextElementUI>()},
        {"ListContainerElement", Make<CListContainerElementUI>()},
        {"ColorPalette", Make<CColorPaletteUI>()},
    };
    for (const auto& [name, creator] : builtins) {
        builtins_[ToLower(name)] = creator;
        builtins_[ToLower(std::string("C") + name + "UI")] = creator;
    }
}

CControlUI* CControlFactory::CreateBuiltin(const std::string& name) const {
    const auto it = builtins_.find(ToLower(name));
    return it == builtins_.end() ? nullptr : it->second();
}

CControlUI* CControlFactory::CreateControl(const std::string& name) const {
    const std::string lower = ToLower(name);
    auto it = registered_.find(lower);
    if (it == registered_.end()) {
        it = registered_.find("c" + lower + "ui");
    }
    return it == registered_.end() ? nullptr : it->second();
}

bool CControlFactory::RegistControl(const std::string& className, Creator creator) {
    if (className.empty() || !creator) {
        return false;
    }
    registered_[ToLower(className)] = std::move(creator);
    return true;
}

bool CControlFactory::IsRegistered(const std::string& className) const {
    return registered_.count(ToLower(className)) != 0;
}

}  // namespace ui
