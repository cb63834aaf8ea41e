#pragma once

#include "ui/toolkit/ui_defs.h"

#include <QEvent>

#include <condition_variable>
#include <memory>
#include <mutex>

class QObject;

// The process-wide list of live windows that the message functions post to. A window enters it
// when its native part exists and leaves it when destruction starts; the removal releases every
// sender still waiting on it.
//
// Thread: any.

namespace ui {

// The state a cross-thread SendMessage waits on.
struct SendState {
    std::mutex mutex;
    std::condition_variable done;
    bool finished = false;
    LRESULT result = 0;
    void Finish(LRESULT value);
};

// A message travelling to a window's host object.
class CMessageEvent : public QEvent {
public:
    static QEvent::Type EventType();
    CMessageEvent(unsigned message, WPARAM wParam, LPARAM lParam, std::shared_ptr<SendState> state);
    // An event dropped unhandled (its window went away) releases its sender with 0.
    ~CMessageEvent() override;

    unsigned message;
    WPARAM wParam;
    LPARAM lParam;
    std::shared_ptr<SendState> state;
};

namespace window_registry {

void Add(HWND window, QObject* host);
// Marks the window gone and releases its waiting senders.
void Remove(HWND window);
bool Contains(HWND window);
// Posts under the registry's lock so the host cannot be deleted meanwhile; false when gone.
bool Post(HWND window, CMessageEvent* event);

}  // namespace window_registry
}  // namespace ui
