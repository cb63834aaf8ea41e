#include <gtest/gtest.h>

#include <QDir>
#include <QElapsedTimer>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>

namespace {

QProcessEnvironment IsolatedEnvironment(const QTemporaryDir& home) {
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("XDG_RUNTIME_DIR", home.path());
    environment.insert("XDG_CONFIG_HOME", home.path() + "/config");
    environment.insert("XDG_DATA_HOME", home.path() + "/data");
    environment.insert("QT_QPA_PLATFORM", "offscreen");
    environment.insert("DBUS_SESSION_BUS_ADDRESS", "unix:path=" + home.path() + "/no-bus");
    return environment;
}

bool WaitForFile(const QString& pattern, const QString& folder, int timeoutMs) {
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < timeoutMs) {
        if (!QDir(folder).entryList({pattern}, QDir::AllEntries | QDir::System).isEmpty()) {
            return true;
        }
        QThread::msleep(20);
    }
    return false;
}

TEST(StartupTest, ASecondCopyRaisesTheFirstAndEndsWithZero) {
    QTemporaryDir home;
    ASSERT_TRUE(home.isValid());
    QProcess first;
    first.setProcessEnvironment(IsolatedEnvironment(home));
    first.start(NORVIK_PROGRAM, {"--ignored-argument"});
    ASSERT_TRUE(first.waitForStarted(5000));
    // The first copy listens once its socket file exists.
    ASSERT_TRUE(WaitForFile("*.sock", home.path(), 10000));
    QProcess second;
    second.setProcessEnvironment(IsolatedEnvironment(home));
    second.start(NORVIK_PROGRAM, {});
    ASSERT_TRUE(second.waitForFinished(10000));
    EXPECT_EQ(second.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(second.exitCode(), 0);
    EXPECT_EQ(first.state(), QProcess::Running);
    first.terminate();
    first.waitForFinished(5000);
}

}  // namespace
