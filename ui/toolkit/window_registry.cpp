#include "ui/toolkit/window_registry.h"

#include <QCoreApplication>
#include <QObject>

#include <map>
#include <vector>

namespace ui {
namespace {

struct Entry {
    QObject* host = nullptr;
    std::vector<std::weak_ptr<SendState>> senders;
};

std::mutex& RegistryMutex() {
    static std::mutex mutex;
    return mutex;
}

std::map<HWND, Entry>& Entries() {
    static std::map<HWND, Entry> entries;
    return entries;
}

}  // namespace

void SendState::Finish(LRESULT value) {
    {
        std::lock_guard lock(mutex);
        if (finished) {
            return;
        }
        finished = true;
        result = value;
    }
    done.notify_all();
}

QEvent::Type CMessageEvent::EventType() {
    static const auto type = static_cast<QEvent::Type>(QEvent::registerEventType());
    return type;
}

CMessageEvent::CMessageEvent(unsigned message, WPARAM wParam, LPARAM lParam, std::shared_ptr<SendState> state)
    : QEvent(EventType()), message(message), wParam(wParam), lParam(lParam), state(std::move(state)) {}

CMessageEvent::~CMessageEvent() {
    if (state) {
        state->Finish(0);
    }
}

namespace window_registry {

void Add(HWND window, QObject* host) {
    std::lock_guard lock(RegistryMutex());
    Entries()[window] = Entry{host, {}};
}

void Remove(HWND window) {
    std::vector<std::weak_ptr<SendState>> senders;
    {
        std::lock_guard lock(RegistryMutex());
        const auto it = Entries().find(window);
        if (it == Entries().end()) {
            return;
        }
        senders = std::move(it->second.senders);
        Entries().erase(it);
    }
    for (const auto& weak : senders) {
        if (auto sender = weak.lock()) {
            sender->Finish(0);
        }
    }
}

bool Contains(HWND window) {
    std::lock_guard lock(RegistryMutex());
    return Entries().count(window) != 0;
}

bool Post(HWND window, CMessageEvent* event) {
    std::unique_lock lock(RegistryMutex());
    const auto it = Entries().find(window);
    if (it == Entries().end()) {
        lock.unlock();
        delete event;
        return false;
    }
    if (event->state) {
        auto& senders = it->second.senders;
        std::erase_if(senders, [](const std::weak_ptr<SendState>& weak) { return weak.expired(); });
        senders.push_back(event->state);
    }
    QCoreApplication::postEvent(it->second.host, event);
    return true;
}

}  // namespace window_registry
}  // namespace ui
