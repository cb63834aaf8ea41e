#pragma once

#include <functional>
#include <string>

class QWidget;

namespace app {

// CFileDialogs: the open and save dialogs of the main window for profile, macro and shoot
// files, each with its one filter ("Profile Files(*.json)", "Macro Files(*.mac)", "Shoot
// Files(*.shoot)"). The main window owns the object and is the dialogs' owner. A cancelled
// dialog gives "", and the caller then changes nothing.
//
// SetChooser replaces the platform dialogs (a test or a script answers in their place).
//
// Thread: the UI thread only.
class CFileDialogs {
public:
    enum class Kind { Profile, Macro, Shoot };
    enum class Purpose { Open, Save };
    using Chooser = std::function<std::string(Purpose purpose, const std::string& filter)>;

    explicit CFileDialogs(std::function<QWidget*()> owner) : owner_(std::move(owner)) {}

    // The chosen existing file, or "".
    std::string Open(Kind kind) { return Choose(Purpose::Open, kind); }
    // The chosen target file (with the kind's extension when none was typed), or "".
    std::string Save(Kind kind) { return Choose(Purpose::Save, kind); }

    void SetChooser(Chooser chooser) { chooser_ = std::move(chooser); }

    static std::string Filter(Kind kind);

private:
    std::string Choose(Purpose purpose, Kind kind);
    std::string Platform(Purpose purpose, Kind kind) const;

    std::function<QWidget*()> owner_;
    Chooser chooser_;
};

}  // namespace app
