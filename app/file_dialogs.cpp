#include "app/file_dialogs.h"

#include <QFileDialog>

namespace app {
namespace {

const char* Extension(CFileDialogs::Kind kind) {
    switch (kind) {
        case CFileDialogs::Kind::Macro:
            return "mac";
        case CFileDialogs::Kind::Shoot:
            return "shoot";
        case CFileDialogs::Kind::Profile:
        default:
            return "json";
    }
}

}  // namespace

std::string CFileDialogs::Filter(Kind kind) {
    switch (kind) {
        case Kind::Macro:
            return "Macro Files(*.mac)";
        case Kind::Shoot:
            return "Shoot Files(*.shoot)";
        case Kind::Profile:
        default:
            return "Profile Files(*.json)";
    }
}

std::string CFileDialogs::Choose(Purpose purpose, Kind kind) {
    return chooser_ ? chooser_(purpose, Filter(kind)) : Platform(purpose, kind);
}

std::string CFileDialogs::Platform(Purpose purpose, Kind kind) const {
    QFileDialog dialog(owner_ ? owner_() : nullptr, QString(), QString(),
                       QString::fromStdString(Filter(kind)));
    if (purpose == Purpose::Open) {
        dialog.setAcceptMode(QFileDialog::AcceptOpen);
        dialog.setFileMode(QFileDialog::ExistingFile);
    } else {
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setFileMode(QFileDialog::AnyFile);
        dialog.setDefaultSuffix(Extension(kind));
    }
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return {};
    }
    return dialog.selectedFiles().constFirst().toStdString();
}

}  // namespace app
