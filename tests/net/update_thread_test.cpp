#include "net/update_thread.h"

#include "tests/net/environment_guard.h"
#include "tests/net/local_http_server.h"
#include "tests/support/debug_capture.h"

#include <gtest/gtest.h>

#include <condition_variable>
#include <mutex>
#include <vector>

namespace {

using namespace std::chrono_literals;

class CMouseOnly : public IFirmwareVersionSource {
public:
    int FirmwareVersion(size_t page) const override { return page == 0 ? 0x0103 : 0; }
};

// Records the rounds the thread reports, as the main window would receive them.
class CRecordingNotifier : public IUpdateNotifier {
public:
    void UpdateRoundFinished(bool somethingNew) override {
        {
            std::lock_guard lock(mutex_);
            rounds_.push_back(somethingNew);
        }
        changed_.notify_all();
    }
    bool WaitForRounds(size_t count) {
        std::unique_lock lock(mutex_);
        return changed_.wait_for(lock, 10s, [&] { return rounds_.size() >= count; });
    }
    std::vector<bool> Rounds() {
        std::lock_guard lock(mutex_);
        return rounds_;
    }

private:
    std::mutex mutex_;
    std::condition_variable changed_;
    std::vector<bool> rounds_;
};

std::string Answer(const std::string& version) {
    return R"({"path": "http://files.example/x", "version": ")" + version + "\"}";
}

class UpdateThreadTest : public ::testing::Test {
protected:
    CEnvironmentGuard environment_{CEnvironmentGuard::NetworkVariables()};
    CMouseOnly versions_;
    CRecordingNotifier notifier_;
};

TEST_F(UpdateThreadTest, SomethingNewIsReportedOnceAndEndsTheThread) {
    CLocalHttpServer server([](const CLocalHttpServer::Request& request) {
        const bool mouse = request.body.find("_NV4001M_") != std::string::npos;
        return CLocalHttpServer::Response(200, Answer(mouse ? "0104" : "1"));
    });
    CUpdateThread thread(versions_, notifier_, CUpdateService(server.Url("/api/")));
    thread.Start();

    ASSERT_TRUE(notifier_.WaitForRounds(1));
    thread.Stop();

    EXPECT_EQ(notifier_.Rounds(), std::vector<bool>{true});
    EXPECT_TRUE(thread.HasEnded());
    EXPECT_EQ(server.Requests().size(), 1u);
}

TEST_F(UpdateThreadTest, RecheckRunsAnotherRoundAndStopEndsTheWait) {
    CLocalHttpServer server([](const auto&) { return CLocalHttpServer::Response(200, Answer("0")); });
    CDebugCapture debug;
    CUpdateThread thread(versions_, notifier_, CUpdateService(server.Url("/api/")));
    thread.Start();
    ASSERT_TRUE(notifier_.WaitForRounds(1));
    EXPECT_EQ(server.Requests().size(), 2u);  // the mouse and the program

    thread.RequestRecheck();
    ASSERT_TRUE(notifier_.WaitForRounds(2));
    EXPECT_EQ(server.Requests().size(), 4u);
    EXPECT_FALSE(thread.HasEnded());

    const auto before = std::chrono::steady_clock::now();
    thread.Stop();
    EXPECT_LT(std::chrono::steady_clock::now() - before, 1s);
    EXPECT_EQ(notifier_.Rounds(), (std::vector<bool>{false, false}));
    EXPECT_NE(debug.Text().find("获取更新线程退出"), std::string::npos);
}

TEST_F(UpdateThreadTest, RecheckIntervalStartsANewRound) {
    CLocalHttpServer server([](const auto&) { return CLocalHttpServer::Response(200, Answer("0")); });
    CUpdateThread thread(versions_, notifier_, CUpdateService(server.Url("/api/")), 10ms);
    thread.Start();

    EXPECT_TRUE(notifier_.WaitForRounds(3));
}

TEST_F(UpdateThreadTest, StopEndsARequestInFlight) {
    CLocalHttpServer server([](const auto&) { return CLocalHttpServer::Reply{"", true}; });
    CDebugCapture debug;
    CUpdateThread thread(versions_, notifier_, CUpdateService(server.Url("/api/")));
    thread.Start();
    ASSERT_TRUE(server.WaitForRequests(1, 10s));

    const auto before = std::chrono::steady_clock::now();
    thread.Stop();

    EXPECT_LT(std::chrono::steady_clock::now() - before, 1s);
    EXPECT_TRUE(notifier_.Rounds().empty());
    EXPECT_NE(debug.Text().find("获取更新线程退出"), std::string::npos);
}

TEST_F(UpdateThreadTest, UnreachableOrMissingServiceReportsNothingNew) {
    CUpdateThread unconfigured(versions_, notifier_, CUpdateService(""));
    unconfigured.Start();
    ASSERT_TRUE(notifier_.WaitForRounds(1));
    unconfigured.Stop();
    EXPECT_EQ(notifier_.Rounds(), std::vector<bool>{false});
}

}  // namespace
