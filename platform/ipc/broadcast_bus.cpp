#include "platform/ipc/broadcast_bus.h"

#include "platform/debug.h"
#include "platform/ipc/message_registry.h"

#include <QDBusMessage>

#include <atomic>

namespace platform::ipc {
namespace {

const QString kPath = QStringLiteral("/com/norvik/RegisteredMessage");
const QString kInterface = QStringLiteral("com.norvik.RegisteredMessage");
const QString kMember = QStringLiteral("Message");

QString PrivateConnectionName() {
    static std::atomic<int> counter{0};
    return QStringLiteral("norvik-broadcast-%1").arg(counter.fetch_add(1));
}

}  // namespace

CBroadcastBus::CBroadcastBus(QObject* parent) : QObject(parent), connection_(QDBusConnection::sessionBus()) {
    Subscribe();
}

CBroadcastBus::CBroadcastBus(const QString& address, QObject* parent)
    : QObject(parent),
      connection_(QDBusConnection::connectToBus(address, PrivateConnectionName())),
      ownsConnection_(true) {
    Subscribe();
}

CBroadcastBus::~CBroadcastBus() {
    if (subscribed_) {
        connection_.disconnect(QString(), kPath, kInterface, kMember, this,
                               SLOT(OnMessage(QString, qulonglong, qlonglong)));
    }
    if (ownsConnection_) {
        QDBusConnection::disconnectFromBus(connection_.name());
    }
}

void CBroadcastBus::Subscribe() {
    if (!connection_.isConnected()) {
        DebugOutput("broadcast bus: no session bus; broadcasts are off\n");
        return;
    }
    subscribed_ = connection_.connect(QString(), kPath, kInterface, kMember, this,
                                      SLOT(OnMessage(QString, qulonglong, qlonglong)));
}

bool CBroadcastBus::IsConnected() const {
    return connection_.isConnected();
}

bool CBroadcastBus::Broadcast(const std::string& name, std::uint64_t wParam, std::int64_t lParam) {
    if (!connection_.isConnected()) {
        return false;
    }
    QDBusMessage signal = QDBusMessage::createSignal(kPath, kInterface, kMember);
    signal << QString::fromStdString(name) << qulonglong(wParam) << qlonglong(lParam);
    return connection_.send(signal);
}

void CBroadcastBus::Listen(const std::string& name) {
    if (const std::uint32_t message = RegisterWindowMessage(name); message != 0) {
        listened_.insert(message);
    }
}

void CBroadcastBus::SetMessageHandler(MessageHandler handler) {
    handler_ = std::move(handler);
}

void CBroadcastBus::OnMessage(const QString& name, qulonglong wParam, qlonglong lParam) {
    if (calledFromDBus() && message().service() == connection_.baseService()) {
        return;
    }
    // Names come from any program on the bus, so they are looked up, never registered.
    const std::uint32_t number = FindWindowMessage(name.toStdString());
    if (!handler_ || listened_.count(number) == 0) {
        return;
    }
    handler_(number, wParam, lParam);
}

}  // namespace platform::ipc
