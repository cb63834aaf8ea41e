#include "tests/net/local_http_server.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <sys/socket.h>
#include <unistd.h>

#include <strings.h>

#include <cstdlib>
#include <sstream>
#include <stdexcept>

namespace {

constexpr auto kReadLimit = std::chrono::seconds(10);

size_t ContentLength(const std::vector<std::string>& headers) {
    for (const std::string& header : headers) {
        if (header.size() > 15 && strncasecmp(header.c_str(), "Content-Length:", 15) == 0) {
            return std::strtoul(header.c_str() + 15, nullptr, 10);
        }
    }
    return 0;
}

void SendAll(int fd, const std::string& bytes) {
    size_t sent = 0;
    while (sent < bytes.size()) {
        const ssize_t n = ::send(fd, bytes.data() + sent, bytes.size() - sent, MSG_NOSIGNAL);
        if (n <= 0) {
            return;
        }
        sent += static_cast<size_t>(n);
    }
}

}  // namespace

CLocalHttpServer::CLocalHttpServer(Handler handler) : handler_(std::move(handler)) {
    listener_ = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    if (listener_ < 0 || ::bind(listener_, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
        ::listen(listener_, 8) != 0 ||
        ::getsockname(listener_, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
        throw std::runtime_error("the test server cannot listen on 127.0.0.1");
    }
    port_ = ntohs(address.sin_port);
    stopEvent_ = ::eventfd(0, EFD_CLOEXEC);
    thread_ = std::thread([this] { Serve(); });
}

CLocalHttpServer::~CLocalHttpServer() {
    const uint64_t one = 1;
    (void)!::write(stopEvent_, &one, sizeof one);
    thread_.join();
    ::close(listener_);
    ::close(stopEvent_);
}

std::string CLocalHttpServer::Url(const std::string& path) const {
    return "http://127.0.0.1:" + std::to_string(port_) + path;
}

std::vector<CLocalHttpServer::Request> CLocalHttpServer::Requests() const {
    std::lock_guard lock(mutex_);
    return requests_;
}

bool CLocalHttpServer::WaitForRequests(size_t count, std::chrono::milliseconds timeout) const {
    std::unique_lock lock(mutex_);
    return arrived_.wait_for(lock, timeout, [&] { return requests_.size() >= count; });
}

CLocalHttpServer::Reply CLocalHttpServer::Response(int status, const std::string& body,
                                                   const std::string& contentType) {
    std::ostringstream out;
    out << "HTTP/1.1 " << status << (status < 400 ? " OK" : " Error") << "\r\nContent-Type: " << contentType
        << "\r\nContent-Length: " << body.size() << "\r\nConnection: close\r\n\r\n"
        << body;
    return {out.str(), false};
}

bool CLocalHttpServer::WaitReadable(int fd, std::chrono::steady_clock::time_point deadline) const {
    const auto left =
        std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
    if (left.count() <= 0) {
        return false;
    }
    pollfd fds[2] = {{fd, POLLIN, 0}, {stopEvent_, POLLIN, 0}};
    if (::poll(fds, 2, static_cast<int>(left.count())) <= 0) {
        return false;
    }
    return (fds[1].revents & POLLIN) == 0 && fds[0].revents != 0;
}

void CLocalHttpServer::Serve() {
    while (true) {
        pollfd fds[2] = {{listener_, POLLIN, 0}, {stopEvent_, POLLIN, 0}};
        if (::poll(fds, 2, -1) < 0 || (fds[1].revents & POLLIN) != 0) {
            return;
        }
        const int client = ::accept4(listener_, nullptr, nullptr, SOCK_CLOEXEC);
        if (client >= 0) {
            ServeConnection(client);
            ::close(client);
        }
    }
}

void CLocalHttpServer::ServeConnection(int client) {
    Request request;
    if (!ReadRequest(client, request)) {
        return;
    }
    {
        std::lock_guard lock(mutex_);
        requests_.push_back(request);
    }
    arrived_.notify_all();
    const Reply reply = handler_(request);
    SendAll(client, reply.bytes);
    if (!reply.hang) {
        return;
    }
    // Until the client gives up (or the server stops), whatever it sends is ignored.
    char sink[512];
    while (WaitReadable(client, std::chrono::steady_clock::now() + std::chrono::hours(1)) &&
           ::recv(client, sink, sizeof sink, 0) > 0) {
    }
}

bool CLocalHttpServer::ReadRequest(int client, Request& request) {
    const auto deadline = std::chrono::steady_clock::now() + kReadLimit;
    size_t headEnd = std::string::npos;
    size_t wanted = 0;
    char chunk[4096];
    while (headEnd == std::string::npos || request.raw.size() < headEnd + wanted) {
        if (!WaitReadable(client, deadline)) {
            return false;
        }
        const ssize_t n = ::recv(client, chunk, sizeof chunk, 0);
        if (n <= 0) {
            return false;
        }
        request.raw.append(chunk, static_cast<size_t>(n));
        if (headEnd != std::string::npos) {
            continue;
        }
        const size_t blank = request.raw.find("\r\n\r\n");
        if (blank == std::string::npos) {
            continue;
        }
        headEnd = blank + 4;
        std::istringstream head(request.raw.substr(0, blank));
        std::string line;
        std::getline(head, line);
        request.requestLine = line.substr(0, line.find('\r'));
        while (std::getline(head, line)) {
            request.headers.push_back(line.substr(0, line.find('\r')));
        }
        wanted = ContentLength(request.headers);
    }
    request.body = request.raw.substr(headEnd, wanted);
    return true;
}
