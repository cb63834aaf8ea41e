#include "platform/ipc/sleep_watch.h"

#include "ipc_test_support.h"

#include <QDBusMessage>
#include <QProcess>
#include <QStandardPaths>

#include <gtest/gtest.h>

#include <vector>

namespace platform::ipc {
namespace {

TEST(SleepWatchNoBusTest, WithoutTheBusNothingIsWatchedAndNothingFails) {
    EnsureCoreApplication();
    CSleepWatch watch(QStringLiteral("unix:path=/nonexistent/system-bus"), [](bool) { FAIL(); });
    EXPECT_FALSE(watch.IsWatching());
}

QDBusMessage PrepareForSleep(bool start) {
    QDBusMessage signal = QDBusMessage::createSignal(QStringLiteral("/org/freedesktop/login1"),
                                                     QStringLiteral("org.freedesktop.login1.Manager"),
                                                     QStringLiteral("PrepareForSleep"));
    signal << start;
    return signal;
}

// logind on a private bus: the watch hears its signal, and only its own.
TEST(SleepWatchTest, OnlyLogindsPrepareForSleepReachesTheHandler) {
    EnsureCoreApplication();
    const QString daemonProgram = QStandardPaths::findExecutable(QStringLiteral("dbus-daemon"));
    if (daemonProgram.isEmpty()) {
        GTEST_SKIP() << "dbus-daemon is not installed";
    }
    QProcess daemon;
    daemon.start(daemonProgram, {QStringLiteral("--session"), QStringLiteral("--nofork"),
                                 QStringLiteral("--print-address=1")});
    ASSERT_TRUE(WaitFor([&] { return daemon.canReadLine() || daemon.state() == QProcess::NotRunning; }));
    const QString address = QString::fromUtf8(daemon.readLine()).trimmed();
    ASSERT_FALSE(address.isEmpty());
    {
        QDBusConnection logind = QDBusConnection::connectToBus(address, QStringLiteral("logind"));
        QDBusConnection stranger = QDBusConnection::connectToBus(address, QStringLiteral("stranger"));
        ASSERT_TRUE(logind.registerService(QStringLiteral("org.freedesktop.login1")));
        std::vector<bool> heard;
        CSleepWatch watch(address, [&](bool start) { heard.push_back(start); });
        ASSERT_TRUE(watch.IsWatching());

        ASSERT_TRUE(stranger.send(PrepareForSleep(true)));
        ASSERT_TRUE(logind.send(PrepareForSleep(true)));
        ASSERT_TRUE(WaitFor([&] { return heard.size() == 1; }));
        ASSERT_TRUE(logind.send(PrepareForSleep(false)));
        ASSERT_TRUE(WaitFor([&] { return heard.size() == 2; }));
        EXPECT_EQ(heard, (std::vector<bool>{true, false}));
    }
    QDBusConnection::disconnectFromBus(QStringLiteral("logind"));
    QDBusConnection::disconnectFromBus(QStringLiteral("stranger"));
    daemon.terminate();
    daemon.waitForFinished(5000);
}

}  // namespace
}  // namespace platform::ipc
