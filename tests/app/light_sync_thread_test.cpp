#include "app/light_sync_thread.h"
#include "tests/support/debug_capture.h"

#include <gtest/gtest.h>

#include <condition_variable>
#include <mutex>

namespace {

class CFakeDevices : public ILightSyncDevices {
public:
    bool AnySynchronised() override { return synchronised.load(); }
    void StoreFrame(uint32_t frame) override {
        std::lock_guard lock(mutex);
        frames.push_back(frame);
        changed.notify_all();
    }
    bool WaitFrames(size_t count) {
        std::unique_lock lock(mutex);
        return changed.wait_for(lock, std::chrono::seconds(5), [&] { return frames.size() >= count; });
    }

    std::atomic<bool> synchronised{false};
    std::mutex mutex;
    std::condition_variable changed;
    std::vector<uint32_t> frames;
};

TEST(LightSyncThread, StoresStaticFramesOnlyWhileADeviceTakesPart) {
    CFakeDevices devices;
    CDebugCapture capture;
    {
        CLightSyncThread thread(devices);
        LightAnimationSettings settings;
        settings.effect = SyncEffect::kStatic;
        settings.brightnessLevel = 2;
        settings.speedLevel = 4;
        settings.colour = {10, 20, 30};
        thread.SetSettings(settings);
        ASSERT_TRUE(thread.Start());
        devices.synchronised = true;
        // The thread may be in its idle second; it picks the devices up within it.
        ASSERT_TRUE(devices.WaitFrames(3));
        std::lock_guard lock(devices.mutex);
        for (uint32_t frame : devices.frames) {
            EXPECT_EQ(frame, CLightAnimation::Pack({10, 20, 30}, 135));
        }
    }
    EXPECT_NE(capture.Text().find("同步灯光线程设定退出"), std::string::npos);
}

TEST(LightSyncThread, SuspendedThreadStoresNothingAndStopsPromptly) {
    CFakeDevices devices;
    devices.synchronised = true;
    CLightSyncThread thread(devices);
    thread.SetRunning(false);
    ASSERT_TRUE(thread.Start());
    const int64_t start = platform::SteadyMs();
    thread.Stop();
    EXPECT_LT(platform::SteadyMs() - start, 500);
    EXPECT_TRUE(devices.frames.empty());
}

}  // namespace
