#pragma once

#include "platform/debug.h"

#include <mutex>
#include <string>

// Collects the diagnostics written while it lives.
class CDebugCapture {
public:
    CDebugCapture() {
        previous_ = platform::SetDebugSink([this](std::string_view text) {
            std::lock_guard lock(mutex_);
            text_.append(text);
        });
    }
    ~CDebugCapture() { platform::SetDebugSink(std::move(previous_)); }
    CDebugCapture(const CDebugCapture&) = delete;
    CDebugCapture& operator=(const CDebugCapture&) = delete;

    std::string Text() const {
        std::lock_guard lock(mutex_);
        return text_;
    }

private:
    mutable std::mutex mutex_;
    std::string text_;
    platform::DebugSink previous_;
};
