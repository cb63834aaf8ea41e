#include "platform/debug.h"

#include <algorithm>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <mutex>

namespace platform {
namespace {

std::mutex& SinkMutex() {
    static std::mutex mutex;
    return mutex;
}

DebugSink& Sink() {
    static DebugSink sink;
    return sink;
}

bool StderrEnabled() {
    static const bool enabled = [] {
        const char* value = std::getenv("NORVIK_DEBUG");
        return value != nullptr && std::strcmp(value, "1") == 0;
    }();
    return enabled;
}

}  // namespace

void DebugOutput(std::string_view text) {
    std::lock_guard lock(SinkMutex());
    if (Sink()) {
        Sink()(text);
        return;
    }
    if (StderrEnabled()) {
        std::fwrite(text.data(), 1, text.size(), stderr);
    }
}

void DebugFormat(const char* format, ...) {
    char buffer[1024];
    va_list args;
    va_start(args, format);
    const int length = std::vsnprintf(buffer, sizeof buffer, format, args);
    va_end(args);
    if (length < 0) {
        return;
    }
    DebugOutput(std::string_view(buffer, std::min<size_t>(static_cast<size_t>(length), sizeof buffer - 1)));
}

bool DebugEnabled() {
    if (StderrEnabled()) {
        return true;
    }
    std::lock_guard lock(SinkMutex());
    return static_cast<bool>(Sink());
}

DebugSink SetDebugSink(DebugSink sink) {
    std::lock_guard lock(SinkMutex());
    DebugSink previous = std::move(Sink());
    Sink() = std::move(sink);
    return previous;
}

}  // namespace platform
