#include "platform/sync/event.h"

#include <gtest/gtest.h>

#include <sys/eventfd.h>
#include <unistd.h>

#include <thread>

using platform::CEvent;

namespace {

TEST(EventTest, ManualResetStaysSetForEveryWaiterUntilReset) {
    CEvent event(CEvent::Mode::kManualReset);
    EXPECT_FALSE(event.Wait(0));
    event.Set();
    EXPECT_TRUE(event.Wait(0));
    EXPECT_TRUE(event.Wait(0));
    event.Reset();
    EXPECT_FALSE(event.Wait(0));
}

TEST(EventTest, AutoResetWakesOneWaitAndClears) {
    CEvent event(CEvent::Mode::kAutoReset, true);
    EXPECT_TRUE(event.Wait(0));
    EXPECT_FALSE(event.Wait(0));
    event.Set();
    event.Set();  // a second Set before any wait does not count twice
    EXPECT_TRUE(event.Wait(0));
    EXPECT_FALSE(event.Wait(0));
}

TEST(EventTest, WaitAnyReportsTheFirstSetEventOrDescriptorOrTimeOut) {
    CEvent first(CEvent::Mode::kAutoReset);
    CEvent second(CEvent::Mode::kManualReset);
    const int fd = ::eventfd(0, EFD_NONBLOCK);
    const int64_t start = platform::SteadyMs();
    EXPECT_EQ(CEvent::WaitAny({&first, &second}, 30, {fd}), -1);
    EXPECT_GE(platform::SteadyMs() - start, 29);

    const uint64_t one = 1;
    ASSERT_EQ(::write(fd, &one, sizeof one), static_cast<ssize_t>(sizeof one));
    EXPECT_EQ(CEvent::WaitAny({&first, &second}, 0, {fd}), 2);
    second.Set();
    first.Set();
    EXPECT_EQ(CEvent::WaitAny({&first, &second}, 0, {fd}), 0);
    EXPECT_EQ(CEvent::WaitAny({&first, &second}, 0, {fd}), 1);
    ::close(fd);
}

TEST(EventTest, AnotherThreadsSetEndsAnInfiniteWait) {
    CEvent event(CEvent::Mode::kAutoReset);
    std::thread setter([&] { event.Set(); });
    EXPECT_TRUE(event.Wait(platform::kInfinite));
    setter.join();
}

}  // namespace
