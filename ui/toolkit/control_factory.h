#pragma once

#include <functional>
#include <map>
#include <string>

// CControlFactory: creates controls by class name. The toolkit's own classes are known from the
// start by their skin names ("Button") and class names ("CButtonUI"); the program registers its
// own with RegistControl. Names are compared without regard to case.
//
// Thread: the UI thread (registration happens at start-up).

namespace ui {

class CControlUI;

class CControlFactory {
public:
    using Creator = std::function<CControlUI*()>;

    static CControlFactory& GetInstance();

    // A toolkit class by skin name or class name; nullptr when it is none of them.
    CControlUI* CreateBuiltin(const std::string& name) const;
    // A registered class by its class name, or by a skin name N registered as "CNUI"; nullptr when
    // unknown.
    CControlUI* CreateControl(const std::string& name) const;
    // Registers (or replaces) a class; false for an empty name or creator.
    bool RegistControl(const std::string& className, Creator creator);
    bool IsRegistered(const std::string& className) const;

private:
    CControlFactory();

    std::map<std::string, Creator> builtins_;
    std::map<std::string, Creator> registered_;
};

}  // namespace ui
