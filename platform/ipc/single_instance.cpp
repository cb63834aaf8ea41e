#include "platform/ipc/single_instance.h"

#include "platform/debug.h"
#include "platform/ipc/shell_messages.h"
#include "platform/paths.h"
#include "platform/product.h"

#include <QDeadlineTimer>
#include <QLocalServer>
#include <QLocalSocket>
#include <QThread>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <cstring>

namespace platform::ipc {
namespace {

// One message from a later copy, as it crosses the socket. Integers are little-endian.
struct SInstanceRecord {
    std::uint8_t magic[4];   // "NVK1"
    std::uint8_t wParam[8];  // unsigned
    std::uint8_t lParam[8];  // signed, two's complement
};
static_assert(sizeof(SInstanceRecord) == 20);

constexpr std::array<std::uint8_t, 4> kMagic = {'N', 'V', 'K', '1'};

void PutLittle(std::uint8_t* out, std::uint64_t value) {
    for (int i = 0; i < 8; ++i) {
        out[i] = static_cast<std::uint8_t>(value >> (8 * i));
    }
}

std::uint64_t GetLittle(const std::uint8_t* in) {
    std::uint64_t value = 0;
    for (int i = 0; i < 8; ++i) {
        value |= static_cast<std::uint64_t>(in[i]) << (8 * i);
    }
    return value;
}

QString SocketPath(const std::string& folder, const std::string& name) {
    return QString::fromStdString(folder + name + ".sock");
}

bool UsableFolder(const char* path) {
    struct stat info {};
    return path != nullptr && path[0] == '/' && stat(path, &info) == 0 && S_ISDIR(info.st_mode) &&
           access(path, W_OK) == 0;
}

}  // namespace

CSingleInstance::CSingleInstance(std::string name, std::string folder, QObject* parent)
    : QObject(parent), name_(std::move(name)), folder_(folder.empty() ? DefaultFolder() : std::move(folder)) {
    if (folder_.back() != '/') {
        folder_ += '/';
    }
}

CSingleInstance::~CSingleInstance() {
    if (server_ != nullptr) {
        server_->close();
    }
    if (lockFd_ >= 0) {
        close(lockFd_);
    }
}

std::string CSingleInstance::DefaultFolder() {
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    if (UsableFolder(runtime)) {
        return std::string(runtime) + "/";
    }
    return UserConfigFolder() + kProductName + "/";
}

CSingleInstance::ERole CSingleInstance::Acquire() {
    if (lockFd_ >= 0) {
        return ERole::kFirst;
    }
    EnsureFolder(folder_);
    const std::string lockPath = folder_ + name_ + ".lock";
    const int fd = open(lockPath.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (fd < 0) {
        DebugFormat("single instance: cannot open %s: %s\n", lockPath.c_str(), std::strerror(errno));
        return ERole::kUnprotected;
    }
    if (flock(fd, LOCK_EX | LOCK_NB) != 0) {
        const int error = errno;
        close(fd);
        if (error == EWOULDBLOCK) {
            return ERole::kSecond;
        }
        DebugFormat("single instance: cannot lock %s: %s\n", lockPath.c_str(), std::strerror(error));
        return ERole::kUnprotected;
    }
    lockFd_ = fd;
    Listen();
    return ERole::kFirst;
}

CSingleInstance::ERole CSingleInstance::AcquireOrRaise() {
    const ERole role = Acquire();
    if (role == ERole::kSecond && !SendToFirst(kProductMessageWParam, kProductMessageLParam)) {
        DebugOutput("single instance: the running copy did not take the product message\n");
    }
    return role;
}

void CSingleInstance::Listen() {
    const QString path = SocketPath(folder_, name_);
    // Only the lock holder gets here, so a socket file left behind belongs to a dead copy.
    QLocalServer::removeServer(path);
    server_ = new QLocalServer(this);
    server_->setSocketOptions(QLocalServer::UserAccessOption);
    connect(server_, &QLocalServer::newConnection, this, &CSingleInstance::OnNewConnection);
    if (!server_->listen(path)) {
        DebugFormat("single instance: cannot listen on %s: %s\n", path.toUtf8().constData(),
                    server_->errorString().toUtf8().constData());
    }
}

void CSingleInstance::OnNewConnection() {
    while (QLocalSocket* socket = server_->nextPendingConnection()) {
        connect(socket, &QLocalSocket::readyRead, this, [this, socket] { OnReadyRead(socket); });
        // A short-lived sender may be gone before its bytes were read; read what it left first.
        connect(socket, &QLocalSocket::disconnected, this, [this, socket] {
            OnReadyRead(socket);
            socket->deleteLater();
        });
        if (socket->bytesAvailable() > 0) {
            OnReadyRead(socket);
        }
    }
}

void CSingleInstance::OnReadyRead(QLocalSocket* socket) {
    while (socket->bytesAvailable() >= static_cast<qint64>(sizeof(SInstanceRecord))) {
        SInstanceRecord record{};
        socket->read(reinterpret_cast<char*>(&record), sizeof(record));
        if (std::memcmp(record.magic, kMagic.data(), kMagic.size()) != 0) {
            DebugOutput("single instance: dropped a connection that sent no instance message\n");
            socket->abort();
            return;
        }
        const std::uint64_t wParam = GetLittle(record.wParam);
        const auto lParam = static_cast<std::int64_t>(GetLittle(record.lParam));
        if (handler_) {
            handler_(wParam, lParam);
        } else {
            pending_.emplace_back(wParam, lParam);
        }
    }
}

bool CSingleInstance::SendToFirst(std::uint64_t wParam, std::int64_t lParam, int timeoutMs) {
    SInstanceRecord record{};
    std::memcpy(record.magic, kMagic.data(), kMagic.size());
    PutLittle(record.wParam, wParam);
    PutLittle(record.lParam, static_cast<std::uint64_t>(lParam));

    // The first copy takes the lock a moment before it listens, so a refused connection is retried.
    const QDeadlineTimer deadline(timeoutMs);
    QLocalSocket socket;
    while (true) {
        socket.connectToServer(SocketPath(folder_, name_));
        if (socket.waitForConnected(static_cast<int>(deadline.remainingTime()))) {
            break;
        }
        if (deadline.hasExpired()) {
            return false;
        }
        QThread::msleep(20);
    }
    socket.write(reinterpret_cast<const char*>(&record), sizeof(record));
    while (socket.bytesToWrite() > 0) {
        if (!socket.waitForBytesWritten(static_cast<int>(deadline.remainingTime()))) {
            return false;
        }
    }
    socket.disconnectFromServer();
    return true;
}

void CSingleInstance::SetMessageHandler(MessageHandler handler) {
    handler_ = std::move(handler);
    if (!handler_) {
        return;
    }
    // A copy started while this one was still starting up is answered now.
    const auto pending = std::move(pending_);
    pending_.clear();
    for (const auto& [wParam, lParam] : pending) {
        handler_(wParam, lParam);
    }
}

}  // namespace platform::ipc
