#pragma once

#include <QObject>

#include <cstdint>
#include <functional>
#include <string>
#include <utility>
#include <vector>

class QLocalServer;
class QLocalSocket;

// The stand-in for the named single-instance mutex and for the product message a second copy
// sends to the first.
//
// The first copy holds an exclusive flock on "<folder><name>.lock" for its whole life and
// listens on the local socket "<folder><name>.sock". A later copy finds the lock taken, sends
// its message through the socket and ends. The kernel drops the lock when a copy dies, so a
// crashed copy never blocks the next start; its stale socket file is replaced.
//
// Acquire: kFirst (this copy runs; messages of later copies reach the handler), kSecond (another
// copy holds the lock) or kUnprotected (the lock file cannot be used: run without protection,
// as when the mutex cannot be created).
// SendToFirst: true when the whole message reached the first copy's socket within the time-out.
//
// Messages that arrive before a handler is set are kept and handed to the first handler set, so a
// copy started while the first one is still starting up is not lost.
//
// Thread safety: create, use and destroy the object on one thread with a Qt event loop (the UI
// thread); the handler runs on that thread from the event loop.
namespace platform::ipc {

class CSingleInstance : public QObject {
    Q_OBJECT

public:
    enum class ERole { kFirst, kSecond, kUnprotected };
    using MessageHandler = std::function<void(std::uint64_t wParam, std::int64_t lParam)>;

    // folder "" chooses DefaultFolder().
    explicit CSingleInstance(std::string name, std::string folder = {}, QObject* parent = nullptr);
    ~CSingleInstance() override;
    CSingleInstance(const CSingleInstance&) = delete;
    CSingleInstance& operator=(const CSingleInstance&) = delete;

    ERole Acquire();

    // Acquire, and as a second copy also send the product message (wParam 0, lParam 1) so that
    // the first copy comes to the front. The caller ends with exit code 0 on kSecond.
    ERole AcquireOrRaise();

    bool SendToFirst(std::uint64_t wParam, std::int64_t lParam, int timeoutMs = 2000);

    void SetMessageHandler(MessageHandler handler);

    // $XDG_RUNTIME_DIR when it is set and usable, else the product's folder in the user's
    // configuration folder.
    static std::string DefaultFolder();

private:
    void Listen();
    void OnNewConnection();
    void OnReadyRead(QLocalSocket* socket);

    std::string name_;
    std::string folder_;
    int lockFd_ = -1;
    QLocalServer* server_ = nullptr;
    MessageHandler handler_;
    std::vector<std::pair<std::uint64_t, std::int64_t>> pending_;  // arrived before there was a handler
};

}  // namespace platform::ipc
