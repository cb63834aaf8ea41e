#pragma once

#include <QDBusConnection>
#include <QObject>
#include <QString>

#include <functional>

// The stand-in for the system's suspend and resume broadcasts: logind's signal
// org.freedesktop.login1.Manager.PrepareForSleep(b start) from the service org.freedesktop.login1
// on the system bus. The handler hears true just before the machine sleeps and false once it is
// awake again. Without the bus (or logind) nothing is ever heard and nothing fails.
//
// Thread safety: create, use and destroy the object on one thread with a Qt event loop (the UI
// thread); the handler runs on that thread from the event loop.
namespace platform::ipc {

class CSleepWatch : public QObject {
    Q_OBJECT

public:
    using Handler = std::function<void(bool goingToSleep)>;

    // Watches the system bus.
    explicit CSleepWatch(Handler handler, QObject* parent = nullptr);
    // Watches the bus at that address (a private bus in tests).
    CSleepWatch(const QString& address, Handler handler, QObject* parent = nullptr);
    ~CSleepWatch() override;
    CSleepWatch(const CSleepWatch&) = delete;
    CSleepWatch& operator=(const CSleepWatch&) = delete;

    bool IsWatching() const { return subscribed_; }

private slots:
    void OnPrepareForSleep(bool start);

private:
    void Subscribe();

    QDBusConnection connection_;
    Handler handler_;
    bool ownsConnection_ = false;
    bool subscribed_ = false;
};

}  // namespace platform::ipc
