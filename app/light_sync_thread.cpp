#include "app/light_sync_thread.h"

#include "platform/debug.h"

bool CLightSyncThread::Start() {
    return thread_.Start([this](platform::CEvent& stop) { Run(stop); });
}

void CLightSyncThread::SetSettings(const LightAnimationSettings& settings) {
    std::lock_guard lock(mutex_);
    settings_ = settings;
}

LightAnimationSettings CLightSyncThread::Settings() const {
    std::lock_guard lock(mutex_);
    return settings_;
}

void CLightSyncThread::Run(platform::CEvent& stop) {
    int waitMs = 0;
    while (!stop.Wait(waitMs)) {
        if (!running_.load() || !devices_.AnySynchronised()) {
            waitMs = kIdleWaitMs;
            continue;
        }
        uint32_t frame = 0;
        {
            std::lock_guard lock(mutex_);
            waitMs = CLightAnimation::Steps(settings_.speedLevel);
            frame = CLightAnimation::NextFrame(state_, settings_, platform::SteadyMs());
        }
        devices_.StoreFrame(frame);
    }
    platform::DebugOutput("同步灯光线程设定退出");
}
