#include "platform/sync/worker_thread.h"

#include "tests/support/debug_capture.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>

using platform::CEvent;
using platform::CWorkerThread;

namespace {

TEST(WorkerThreadTest, StopEndsABodyThatWaitsOnItsStopEvent) {
    CDebugCapture debug;
    CWorkerThread worker;
    std::atomic<bool> ran{false};
    ASSERT_TRUE(worker.Start([&](CEvent& stop) {
        ran = true;
        stop.Wait(platform::kInfinite);
    }));
    EXPECT_TRUE(worker.Running());
    EXPECT_TRUE(worker.Stop());
    EXPECT_TRUE(ran);
    EXPECT_FALSE(worker.Running());
    EXPECT_EQ(debug.Text(), CWorkerThread::kEndedText);
}

// A body that ignores its stop event for longer than the stop wait: the time-out text is written
// and Stop still returns once the body ends, since nothing may be terminated.
TEST(WorkerThreadTest, ASlowBodyGetsTheTimeOutTextAndIsWaitedFor) {
    CDebugCapture debug;
    CWorkerThread worker;
    CEvent release(CEvent::Mode::kManualReset);
    std::atomic<bool> ended{false};
    ASSERT_TRUE(worker.Start([&](CEvent&) {
        release.Wait(platform::kInfinite);
        ended = true;
    }));
    std::thread releaser([&] {
        // Releases the body only after the first wait of Stop ran out.
        while (debug.Text().empty()) {
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
        release.Set();
    });
    EXPECT_FALSE(worker.Stop());
    releaser.join();
    EXPECT_TRUE(ended);
    EXPECT_EQ(debug.Text(), CWorkerThread::kTimeoutText);
}

TEST(WorkerThreadTest, StopWithoutAThreadDoesNothing) {
    CDebugCapture debug;
    CWorkerThread worker;
    EXPECT_FALSE(worker.Stop());
    EXPECT_TRUE(debug.Text().empty());
}

}  // namespace
