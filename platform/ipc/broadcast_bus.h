#pragma once

#include <QDBusConnection>
#include <QDBusContext>
#include <QObject>
#include <QString>

#include <cstdint>
#include <functional>
#include <set>
#include <string>

// The stand-in for BroadcastSystemMessage and for receiving registered messages from other
// programs: a D-Bus signal on the session bus.
//
// Every message is the signal com.norvik.RegisteredMessage.Message on the object path
// /com/norvik/RegisteredMessage with the arguments (s name, t wParam, x lParam). The name is the
// registered message name, so programs agree on a message by its name, not by a number.
// Broadcasts are posted, never waited for. A program does not receive its own broadcasts.
//
// Without a bus (none running, DBUS_SESSION_BUS_ADDRESS pointing nowhere) the object still
// works: IsConnected is false, Broadcast returns false and nothing is ever received.
//
// Listen: from now on, messages of that name reach the handler as (its registered number in this
// process, wParam, lParam); messages of other names are ignored.
//
// Thread safety: create, use and destroy the object on one thread with a Qt event loop (the UI
// thread); the handler runs on that thread from the event loop.
namespace platform::ipc {

class CBroadcastBus : public QObject, protected QDBusContext {
    Q_OBJECT

public:
    using MessageHandler =
        std::function<void(std::uint32_t message, std::uint64_t wParam, std::int64_t lParam)>;

    // Joins the session bus.
    explicit CBroadcastBus(QObject* parent = nullptr);
    // Joins the bus at that address (a private bus in tests).
    explicit CBroadcastBus(const QString& address, QObject* parent = nullptr);
    ~CBroadcastBus() override;
    CBroadcastBus(const CBroadcastBus&) = delete;
    CBroadcastBus& operator=(const CBroadcastBus&) = delete;

    bool IsConnected() const;

    bool Broadcast(const std::string& name, std::uint64_t wParam, std::int64_t lParam);

    void Listen(const std::string& name);
    void SetMessageHandler(MessageHandler handler);

private slots:
    void OnMessage(const QString& name, qulonglong wParam, qlonglong lParam);

private:
    void Subscribe();

    QDBusConnection connection_;
    bool ownsConnection_ = false;
    bool subscribed_ = false;
    std::set<std::uint32_t> listened_;
    MessageHandler handler_;
};

}  // namespace platform::ipc
