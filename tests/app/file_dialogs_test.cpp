#include "app/file_dialogs.h"

#include "tests/support/qt_application.h"
#include "tests/support/temp_data_home.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QFileDialog>
#include <QMetaObject>
#include <QTimer>
#include <QWidget>

#include <functional>
#include <memory>

namespace {

using app::CFileDialogs;

// Runs the action on the platform dialog as soon as it shows, from inside its modal loop, and
// again until the dialog has closed: under load a save dialog may still be reading its folder and
// ignore the first accept.
void WhenDialogShown(std::function<void(QFileDialog&)> action) {
    auto* timer = new QTimer();
    QObject::connect(timer, &QTimer::timeout, [timer, action] {
        for (QWidget* widget : QApplication::topLevelWidgets()) {
            if (auto* dialog = qobject_cast<QFileDialog*>(widget); dialog != nullptr && dialog->isVisible()) {
                action(*dialog);
                if (dialog->isVisible()) {
                    return;
                }
                timer->stop();
                timer->deleteLater();
                return;
            }
        }
    });
    timer->start(5);
}

TEST(FileDialogsTest, ThePlatformDialogsCarryTheKindsFilterOwnerAndMode) {
    EnsureQtApplication();
    CTempDataHome home;
    QWidget owner;
    CFileDialogs dialogs([&owner] { return &owner; });
    struct SCase {
        CFileDialogs::Kind kind;
        const char* filter;
        const char* saved;  // what a save of the typed name "chosen" gives
    };
    for (const SCase& c : {SCase{CFileDialogs::Kind::Profile, "Profile Files(*.json)", "chosen.json"},
                           SCase{CFileDialogs::Kind::Macro, "Macro Files(*.mac)", "chosen.mac"},
                           SCase{CFileDialogs::Kind::Shoot, "Shoot Files(*.shoot)", "chosen.shoot"}}) {
        SCOPED_TRACE(c.filter);
        WhenDialogShown([&](QFileDialog& dialog) {
            EXPECT_EQ(dialog.nameFilters(), QStringList{c.filter});
            EXPECT_EQ(dialog.parentWidget(), &owner);
            EXPECT_EQ(dialog.fileMode(), QFileDialog::ExistingFile);
            dialog.reject();
        });
        EXPECT_EQ(dialogs.Open(c.kind), "") << "cancelled";

        WhenDialogShown([&](QFileDialog& dialog) {
            EXPECT_EQ(dialog.acceptMode(), QFileDialog::AcceptSave);
            // Changing folder again would clear the typed name while the folder loads.
            const QString folder = QString::fromStdString(home.Root().string());
            if (dialog.directory().absolutePath() != folder) {
                dialog.setDirectory(folder);
            }
            dialog.selectFile("chosen");
            // Closed as accepted without the dialog's own checks, which a folder still loading can
            // refuse over and over: only the path the dialog gives is under test.
            QMetaObject::invokeMethod(&dialog, "done", Qt::DirectConnection, Q_ARG(int, QDialog::Accepted));
        });
        EXPECT_EQ(dialogs.Save(c.kind), (home.Root() / c.saved).string());
    }
}

}  // namespace
