#pragma once

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

// A small HTTP/1.1 server on 127.0.0.1 and an ephemeral port, for the client's tests. It serves
// one connection at a time: reads the request head and its Content-Length body, records the raw
// bytes, and sends what the test's handler returns, then closes the connection. Every read is
// bounded in time, and the destructor ends the server promptly.
class CLocalHttpServer {
public:
    struct Request {
        std::string raw;  // head and body exactly as received
        std::string requestLine;
        std::vector<std::string> headers;  // "Name: value" lines as received
        std::string body;
    };
    struct Reply {
        std::string bytes;  // sent as they are
        bool hang = false;  // after the bytes, keep the connection open until the client leaves
    };
    using Handler = std::function<Reply(const Request&)>;

    explicit CLocalHttpServer(Handler handler);
    ~CLocalHttpServer();
    CLocalHttpServer(const CLocalHttpServer&) = delete;
    CLocalHttpServer& operator=(const CLocalHttpServer&) = delete;

    uint16_t Port() const { return port_; }
    // "http://127.0.0.1:<port>" + path.
    std::string Url(const std::string& path) const;

    std::vector<Request> Requests() const;
    // Waits until at least count requests have arrived; false after the time-out.
    bool WaitForRequests(size_t count, std::chrono::milliseconds timeout) const;

    // A complete response with a Content-Length.
    static Reply Response(int status, const std::string& body,
                          const std::string& contentType = "application/json");

private:
    void Serve();
    void ServeConnection(int client);
    bool ReadRequest(int client, Request& request);
    bool WaitReadable(int fd, std::chrono::steady_clock::time_point deadline) const;

    Handler handler_;
    int listener_ = -1;
    int stopEvent_ = -1;
    uint16_t port_ = 0;
    mutable std::mutex mutex_;
    mutable std::condition_variable arrived_;
    std::vector<Request> requests_;
    std::thread thread_;
};
