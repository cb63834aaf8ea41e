#include "platform/ipc/single_instance.h"

#include "ipc_test_support.h"
#include "tests/support/temp_data_home.h"

#include <QLocalSocket>
#include <QProcess>

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <utility>
#include <vector>

namespace platform::ipc {
namespace {

using ERole = CSingleInstance::ERole;
using Received = std::vector<std::pair<std::uint64_t, std::int64_t>>;

constexpr const char kName[] = "Norvik test_QUORL";

class SingleInstanceTest : public ::testing::Test {
protected:
    void SetUp() override { EnsureCoreApplication(); }

    std::string Folder() const { return home_.Root().string() + "/run/"; }

    CTempDataHome home_;
};

TEST_F(SingleInstanceTest, SecondCopyRaisesTheFirstWithTheProductMessage) {
    CSingleInstance first(kName, Folder());
    Received received;
    first.SetMessageHandler([&](std::uint64_t w, std::int64_t l) { received.emplace_back(w, l); });
    ASSERT_EQ(ERole::kFirst, first.Acquire());

    CSingleInstance second(kName, Folder());
    EXPECT_EQ(ERole::kSecond, second.AcquireOrRaise());

    ASSERT_TRUE(WaitFor([&] { return !received.empty(); }));
    EXPECT_EQ((Received{{0, 1}}), received);
}

TEST_F(SingleInstanceTest, SecondCopyInItsOwnProcessRaisesTheFirstAndEndsWithZero) {
    const char* helper = std::getenv("NORVIK_IPC_SECOND_COPY");
    ASSERT_NE(nullptr, helper);
    CSingleInstance first(kName, Folder());
    Received received;
    first.SetMessageHandler([&](std::uint64_t w, std::int64_t l) { received.emplace_back(w, l); });
    ASSERT_EQ(ERole::kFirst, first.Acquire());

    QProcess child;
    child.start(helper, {QString::fromStdString(Folder()), kName});
    // The child's message is read by this event loop while the child waits for its exit.
    ASSERT_TRUE(WaitFor([&] { return child.state() == QProcess::NotRunning; }, 10000));
    EXPECT_EQ(QProcess::NormalExit, child.exitStatus());
    EXPECT_EQ(0, child.exitCode());
    ASSERT_TRUE(WaitFor([&] { return !received.empty(); }));
    EXPECT_EQ((Received{{0, 1}}), received);
}

TEST_F(SingleInstanceTest, MessagesBeforeTheHandlerIsSetAreKeptForIt) {
    CSingleInstance first(kName, Folder());
    ASSERT_EQ(ERole::kFirst, first.Acquire());
    CSingleInstance second(kName, Folder());
    EXPECT_EQ(ERole::kSecond, second.AcquireOrRaise());
    QCoreApplication::processEvents();  // the message arrives while the first copy has no window yet
    QCoreApplication::processEvents();

    Received received;
    first.SetMessageHandler([&](std::uint64_t w, std::int64_t l) { received.emplace_back(w, l); });
    ASSERT_TRUE(WaitFor([&] { return !received.empty(); }));
    EXPECT_EQ((Received{{0, 1}}), received);
}

TEST_F(SingleInstanceTest, LockIsFreeAgainWhenTheFirstCopyEnds) {
    {
        CSingleInstance first(kName, Folder());
        ASSERT_EQ(ERole::kFirst, first.Acquire());
    }
    CSingleInstance next(kName, Folder());
    EXPECT_EQ(ERole::kFirst, next.Acquire());
}

TEST_F(SingleInstanceTest, StaleSocketFileOfADeadCopyIsReplaced) {
    std::filesystem::create_directories(Folder());
    std::ofstream(Folder() + kName + ".sock") << "left behind";
    CSingleInstance first(kName, Folder());
    Received received;
    first.SetMessageHandler([&](std::uint64_t w, std::int64_t l) { received.emplace_back(w, l); });
    ASSERT_EQ(ERole::kFirst, first.Acquire());

    CSingleInstance second(kName, Folder());
    ASSERT_EQ(ERole::kSecond, second.Acquire());
    EXPECT_TRUE(second.SendToFirst(7, -2));
    ASSERT_TRUE(WaitFor([&] { return !received.empty(); }));
    EXPECT_EQ((Received{{7, -2}}), received);
}

TEST_F(SingleInstanceTest, ForeignBytesOnTheSocketAreDroppedAndLaterMessagesStillArrive) {
    CSingleInstance first(kName, Folder());
    Received received;
    first.SetMessageHandler([&](std::uint64_t w, std::int64_t l) { received.emplace_back(w, l); });
    ASSERT_EQ(ERole::kFirst, first.Acquire());

    QLocalSocket stranger;
    stranger.connectToServer(QString::fromStdString(Folder() + kName + ".sock"));
    ASSERT_TRUE(stranger.waitForConnected(2000));
    stranger.write("GET / HTTP/1.0\r\n\r\n and some more bytes");
    ASSERT_TRUE(stranger.waitForBytesWritten(2000));
    ASSERT_TRUE(WaitFor([&] { return stranger.state() == QLocalSocket::UnconnectedState; }));

    CSingleInstance second(kName, Folder());
    EXPECT_EQ(ERole::kSecond, second.AcquireOrRaise());
    ASSERT_TRUE(WaitFor([&] { return !received.empty(); }));
    EXPECT_EQ((Received{{0, 1}}), received);
}

TEST_F(SingleInstanceTest, UnusableFolderRunsUnprotectedAndNobodyIsThereToRaise) {
    std::ofstream(home_.Path("plain-file")) << "x";
    CSingleInstance instance(kName, home_.Path("plain-file") + "/run/");
    EXPECT_EQ(ERole::kUnprotected, instance.Acquire());

    CSingleInstance lonely(kName, Folder());
    EXPECT_FALSE(lonely.SendToFirst(0, 1, 100));
}

TEST_F(SingleInstanceTest, DefaultFolderIsTheRuntimeFolderWhenUsable) {
    setenv("XDG_RUNTIME_DIR", home_.Root().c_str(), 1);
    EXPECT_EQ(home_.Root().string() + "/", CSingleInstance::DefaultFolder());
    setenv("XDG_RUNTIME_DIR", "/nonexistent/runtime", 1);
    EXPECT_EQ(home_.Path("config") + "/Norvik 400100 Gaming Mouse/", CSingleInstance::DefaultFolder());
    unsetenv("XDG_RUNTIME_DIR");
}

}  // namespace
}  // namespace platform::ipc
