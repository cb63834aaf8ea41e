#include "platform/ipc/broadcast_bus.h"

#include "platform/ipc/message_registry.h"
#include "platform/ipc/shell_messages.h"

#include "ipc_test_support.h"

#include <QProcess>
#include <QStandardPaths>

#include <gtest/gtest.h>

#include <tuple>
#include <vector>

namespace platform::ipc {
namespace {

using Received = std::vector<std::tuple<std::uint32_t, std::uint64_t, std::int64_t>>;

TEST(BroadcastBusNoBusTest, WithoutABusNothingFailsAndNothingArrives) {
    EnsureCoreApplication();
    CBroadcastBus bus;  // the test environment points the session bus nowhere
    EXPECT_FALSE(bus.IsConnected());
    bus.Listen(kLightControlCommandName);
    bus.SetMessageHandler([](std::uint32_t, std::uint64_t, std::int64_t) { FAIL(); });
    EXPECT_FALSE(bus.Broadcast(kLightControlAnnouncementName, 1, 1));

    CBroadcastBus unreachable(QStringLiteral("unix:path=/nonexistent/other-bus"));
    EXPECT_FALSE(unreachable.IsConnected());
    EXPECT_FALSE(unreachable.Broadcast(kLightControlAnnouncementName, 1, 0));
}

// A private message bus for the life of the fixture.
class BroadcastBusTest : public ::testing::Test {
protected:
    void SetUp() override {
        EnsureCoreApplication();
        const QString daemon = QStandardPaths::findExecutable(QStringLiteral("dbus-daemon"));
        if (daemon.isEmpty()) {
            GTEST_SKIP() << "dbus-daemon is not installed";
        }
        daemon_.start(daemon, {QStringLiteral("--session"), QStringLiteral("--nofork"),
                               QStringLiteral("--print-address=1")});
        ASSERT_TRUE(
            WaitFor([&] { return daemon_.canReadLine() || daemon_.state() == QProcess::NotRunning; }));
        address_ = QString::fromUtf8(daemon_.readLine()).trimmed();
        ASSERT_FALSE(address_.isEmpty());
    }
    void TearDown() override {
        if (daemon_.state() != QProcess::NotRunning) {
            daemon_.terminate();
            daemon_.waitForFinished(5000);
        }
    }

    QProcess daemon_;
    QString address_;
};

TEST_F(BroadcastBusTest, ListenedMessagesFromOtherProgramsArriveWithTheirParameters) {
    CBroadcastBus ours(address_);
    CBroadcastBus other(address_);
    ASSERT_TRUE(ours.IsConnected());
    Received received;
    ours.SetMessageHandler(
        [&](std::uint32_t m, std::uint64_t w, std::int64_t l) { received.emplace_back(m, w, l); });
    ours.Listen(kLightControlCommandName);
    ours.Listen(kSettingsRelayMessageName);

    EXPECT_TRUE(other.Broadcast("{4695579F-999A-41d4-9FAF-EFFCE93EBF99}", 1, 1));  // not listened to
    EXPECT_TRUE(other.Broadcast(kLightControlCommandName, 1, 0));
    EXPECT_TRUE(other.Broadcast(kSettingsRelayMessageName, 0xFFFFFFFFFFull, -5));

    ASSERT_TRUE(WaitFor([&] { return received.size() >= 2; }));
    const SShellMessages numbers = RegisterShellMessages();
    EXPECT_EQ((Received{{numbers.lightControlCommand, 1, 0}, {numbers.settingsRelay, 0xFFFFFFFFFFull, -5}}),
              received);
}

TEST_F(BroadcastBusTest, AProgramDoesNotReceiveItsOwnBroadcast) {
    CBroadcastBus ours(address_);
    CBroadcastBus other(address_);
    Received ownReceived;
    Received otherReceived;
    ours.SetMessageHandler(
        [&](std::uint32_t m, std::uint64_t w, std::int64_t l) { ownReceived.emplace_back(m, w, l); });
    other.SetMessageHandler(
        [&](std::uint32_t m, std::uint64_t w, std::int64_t l) { otherReceived.emplace_back(m, w, l); });
    ours.Listen(kLightControlAnnouncementName);
    other.Listen(kLightControlAnnouncementName);

    EXPECT_TRUE(ours.Broadcast(kLightControlAnnouncementName, kLightControlWParam, 1));
    ASSERT_TRUE(WaitFor([&] { return !otherReceived.empty(); }));
    // The other side has it, so ours has been dispatched by now as well, had it come back.
    QCoreApplication::processEvents();
    EXPECT_TRUE(ownReceived.empty());
    EXPECT_EQ(1u, otherReceived.size());
}

}  // namespace
}  // namespace platform::ipc
