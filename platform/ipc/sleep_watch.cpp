#include "platform/ipc/sleep_watch.h"

#include "platform/debug.h"

namespace platform::ipc {
namespace {

const QString kService = QStringLiteral("org.freedesktop.login1");
const QString kPath = QStringLiteral("/org/freedesktop/login1");
const QString kInterface = QStringLiteral("org.freedesktop.login1.Manager");
const QString kMember = QStringLiteral("PrepareForSleep");
const QString kPrivateName = QStringLiteral("norvik-sleep-watch");

}  // namespace

CSleepWatch::CSleepWatch(Handler handler, QObject* parent)
    : QObject(parent), connection_(QDBusConnection::systemBus()), handler_(std::move(handler)) {
    Subscribe();
}

CSleepWatch::CSleepWatch(const QString& address, Handler handler, QObject* parent)
    : QObject(parent),
      connection_(QDBusConnection::connectToBus(address, kPrivateName)),
      handler_(std::move(handler)),
      ownsConnection_(true) {
    Subscribe();
}

CSleepWatch::~CSleepWatch() {
    if (subscribed_) {
        connection_.disconnect(kService, kPath, kInterface, kMember, this, SLOT(OnPrepareForSleep(bool)));
    }
    if (ownsConnection_) {
        QDBusConnection::disconnectFromBus(connection_.name());
    }
}

void CSleepWatch::Subscribe() {
    if (!connection_.isConnected()) {
        DebugOutput("sleep watch: no system bus; suspend and resume are not followed\n");
        return;
    }
    subscribed_ =
        connection_.connect(kService, kPath, kInterface, kMember, this, SLOT(OnPrepareForSleep(bool)));
}

void CSleepWatch::OnPrepareForSleep(bool start) {
    if (handler_) {
        handler_(start);
    }
}

}  // namespace platform::ipc
