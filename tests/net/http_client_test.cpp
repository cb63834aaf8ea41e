#include "net/http_client.h"

#include "tests/net/environment_guard.h"
#include "tests/net/local_http_server.h"
#include "tests/net/refused_port.h"
#include "tests/support/temp_data_home.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <chrono>
#include <fstream>
#include <future>
#include <sstream>
#include <utility>

namespace {

using namespace std::chrono_literals;

class HttpClientTest : public ::testing::Test {
protected:
    void SetUp() override { CHttpClient::InitialiseClientSettings(); }

    CEnvironmentGuard environment_{CEnvironmentGuard::NetworkVariables()};
};

std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream out;
    out << in.rdbuf();
    return out.str();
}

bool HasHeader(const CLocalHttpServer::Request& request, const std::string& header) {
    return std::find(request.headers.begin(), request.headers.end(), header) != request.headers.end();
}

TEST_F(HttpClientTest, PostSendsTheHeaderBlockAndTheBodyBytes) {
    CLocalHttpServer server([](const auto&) { return CLocalHttpServer::Response(200, "{}"); });
    const std::string body("app_key=K&version=10\0", 21);
    std::vector<char> response(64, '\0');

    // The method is matched in any case and sent as HTTP spells it.
    EXPECT_EQ(CHttpClient::FormRequest("post", server.Url("/api/updates"), body, response), 2);

    ASSERT_EQ(server.Requests().size(), 1u);
    const auto request = server.Requests().front();
    EXPECT_EQ(request.requestLine, "POST /api/updates HTTP/1.1");
    EXPECT_TRUE(HasHeader(request, "Content-Length:21"));
    EXPECT_TRUE(HasHeader(request, "Content-Type: application/x-www-form-urlencoded"));
    EXPECT_TRUE(HasHeader(request, "Accept:application/prs.Quorl.v1+json"));
    EXPECT_TRUE(HasHeader(request, "User-Agent: WinHTTP Client/1.0"));
    EXPECT_EQ(request.body, body);
    EXPECT_EQ(std::string(response.data()), "{}");
    EXPECT_EQ(CHttpClient::LastError(), 0);
}

// A redirected POST is not followed: our Content-Length would go along to the target, which would
// then wait for a body that never comes.
TEST_F(HttpClientTest, APostThatIsRedirectedEndsWithTheRedirectsAnswer) {
    CLocalHttpServer server([](const CLocalHttpServer::Request& request) {
        if (request.requestLine.starts_with("POST /api/old")) {
            return CLocalHttpServer::Reply{
                "HTTP/1.1 302 Found\r\nLocation: /api/new\r\nContent-Length: 5\r\nConnection: "
                "close\r\n\r\nmoved"};
        }
        return CLocalHttpServer::Response(200, "{}");
    });
    std::vector<char> response(64, '\0');
    const auto start = std::chrono::steady_clock::now();

    EXPECT_EQ(CHttpClient::FormRequest("POST", server.Url("/api/old"), "a=1", response), 5);

    EXPECT_LT(std::chrono::steady_clock::now() - start, 5s);
    EXPECT_EQ(std::string(response.data()), "moved");
    EXPECT_EQ(server.Requests().size(), 1u);
}

TEST_F(HttpClientTest, GetSendsAZeroContentLengthAndNoBody) {
    CLocalHttpServer server([](const auto&) { return CLocalHttpServer::Response(200, "ok", "text/plain"); });
    std::vector<char> response(16, '\0');

    EXPECT_EQ(CHttpClient::FormRequest("GET", server.Url("/a?b=c"), "", response), 2);

    const auto request = server.Requests().at(0);
    EXPECT_EQ(request.requestLine, "GET /a?b=c HTTP/1.1");
    EXPECT_TRUE(HasHeader(request, "Content-Length:0"));
    EXPECT_EQ(request.raw.substr(request.raw.size() - 4), "\r\n\r\n");
}

TEST_F(HttpClientTest, RejectsAnEmptyUrlAndOtherMethodsBeforeSending) {
    const struct {
        const char* method;
        std::string url;
        int error;
    } cases[] = {{"PUT", "http://127.0.0.1:1/", CHttpClient::kErrorBadMethod},
                 {"", "http://127.0.0.1:1/", CHttpClient::kErrorBadMethod},
                 {"POST", "", CHttpClient::kErrorEmptyUrl}};
    for (const auto& c : cases) {
        std::vector<char> response(16, 'x');
        EXPECT_EQ(CHttpClient::FormRequest(c.method, c.url, "", response), -1) << c.method;
        EXPECT_EQ(CHttpClient::LastError(), c.error) << c.method;
        EXPECT_EQ(std::string(response.begin(), response.end()), std::string(16, 'x'));
    }
}

TEST_F(HttpClientTest, RefusedConnectionLeavesTheFailureMarker) {
    CRefusedPort refused;
    std::vector<char> response(32, '#');

    EXPECT_EQ(CHttpClient::FormRequest("POST", refused.Url("/api/updates"), "a=b", response), 0);

    EXPECT_EQ(std::string(response.data(), 16), "NO_LINK_SERVER##");
    EXPECT_NE(CHttpClient::LastError(), 0);
}

TEST_F(HttpClientTest, FailureMarkerIsCutToASmallBuffer) {
    CRefusedPort refused;
    std::vector<char> response(6, '#');

    EXPECT_EQ(CHttpClient::FormRequest("POST", refused.Url("/"), "", response), 0);

    EXPECT_EQ(std::string(response.begin(), response.end()), "NO_LIN");
}

TEST_F(HttpClientTest, ErrorStatusBodyIsReturnedAsItIs) {
    const std::string error = R"({"error":"not found","code":404})";
    CLocalHttpServer server([&](const auto&) { return CLocalHttpServer::Response(404, error); });
    std::vector<char> response(128, '\0');

    EXPECT_EQ(CHttpClient::FormRequest("POST", server.Url("/api/updates"), "x", response),
              static_cast<int>(error.size()));
    EXPECT_EQ(std::string(response.data()), error);
}

TEST_F(HttpClientTest, BodyLongerThanTheBufferStopsAtItsCapacity) {
    const std::string big(300000, 'b');
    CLocalHttpServer server([&](const auto&) { return CLocalHttpServer::Response(200, big, "text/plain"); });
    std::vector<char> storage(1000 + 8, 'g');

    const int received =
        CHttpClient::FormRequest("GET", server.Url("/big"), "", std::span(storage).first(1000));

    EXPECT_EQ(received, 1000);
    EXPECT_EQ(std::string(storage.data(), 1000), big.substr(0, 1000));
    EXPECT_EQ(std::string(storage.data() + 1000, 8), std::string(8, 'g'));
}

TEST_F(HttpClientTest, UnreachableHostIsRetriedThroughTheUserProxy) {
    CRefusedPort refused;
    CLocalHttpServer proxy(
        [](const auto&) { return CLocalHttpServer::Response(200, "via proxy", "text/plain"); });
    setenv("HTTP_PROXY", proxy.Url("").c_str(), 1);
    std::vector<char> response(32, '\0');

    EXPECT_EQ(CHttpClient::FormRequest("POST", refused.Url("/api/updates"), "k=v", response), 9);

    EXPECT_EQ(std::string(response.data()), "via proxy");
    EXPECT_EQ(proxy.Requests().at(0).requestLine, "POST " + refused.Url("/api/updates") + " HTTP/1.1");
    EXPECT_EQ(proxy.Requests().at(0).body, "k=v");
}

TEST_F(HttpClientTest, ReachableHostIgnoresTheProxyAndBypassedHostsSkipIt) {
    CRefusedPort refused;
    CLocalHttpServer proxy(
        [](const auto&) { return CLocalHttpServer::Response(200, "via proxy", "text/plain"); });
    CLocalHttpServer direct(
        [](const auto&) { return CLocalHttpServer::Response(200, "direct", "text/plain"); });
    setenv("http_proxy", proxy.Url("").c_str(), 1);
    std::vector<char> response(32, '\0');

    EXPECT_EQ(CHttpClient::FormRequest("GET", direct.Url("/"), "", response), 6);
    setenv("no_proxy", "localhost,127.0.0.1", 1);
    EXPECT_EQ(CHttpClient::FormRequest("GET", refused.Url("/"), "", response), 0);

    EXPECT_EQ(std::string(response.data(), 14), "NO_LINK_SERVER");
    EXPECT_TRUE(proxy.Requests().empty());
}

TEST_F(HttpClientTest, StopEndsARequestThatWaitsForAnAnswer) {
    CLocalHttpServer server([](const auto&) { return CLocalHttpServer::Reply{"", true}; });
    platform::CEvent abort(platform::CEvent::Mode::kManualReset);
    std::vector<char> response(32, '\0');
    auto request = std::async(std::launch::async, [&] {
        return CHttpClient::FormRequest("POST", server.Url("/slow"), "a", response, &abort);
    });
    ASSERT_TRUE(server.WaitForRequests(1, 10s));

    const auto before = std::chrono::steady_clock::now();
    abort.Set();
    ASSERT_EQ(request.wait_for(10s), std::future_status::ready);

    EXPECT_LT(std::chrono::steady_clock::now() - before, 2s);
    EXPECT_EQ(request.get(), 0);
}

class DownloadTest : public HttpClientTest {
protected:
    std::string Target() const { return home_.Path("download.bin"); }

    bool Download(const std::string& url) {
        return CHttpClient::DownloadToFile(
            url, Target(), [this](int64_t total, int64_t soFar) { reports_.emplace_back(total, soFar); });
    }

    CTempDataHome home_;
    std::vector<std::pair<int64_t, int64_t>> reports_;
};

std::string Payload(size_t size) {
    std::string payload(size, '\0');
    for (size_t i = 0; i < size; ++i) {
        payload[i] = static_cast<char>(i * 7 + 3);
    }
    return payload;
}

TEST_F(DownloadTest, WritesTheFileAndReportsEachPiece) {
    const std::string payload = Payload(5000);
    CLocalHttpServer server([&](const CLocalHttpServer::Request& request) {
        auto reply = CLocalHttpServer::Response(200, payload, "application/octet-stream");
        if (request.requestLine.starts_with("HEAD")) {
            reply.bytes.resize(reply.bytes.size() - payload.size());
        }
        return reply;
    });

    EXPECT_TRUE(Download(server.Url("/files/setup.bin")));

    EXPECT_EQ(server.Requests().at(0).requestLine, "HEAD /files/setup.bin HTTP/1.1");
    EXPECT_EQ(server.Requests().at(1).requestLine, "GET /files/setup.bin HTTP/1.1");
    EXPECT_EQ(ReadFile(Target()), payload);
    ASSERT_GE(reports_.size(), 5u);
    int64_t previous = 0;
    for (const auto& [total, soFar] : reports_) {
        EXPECT_EQ(total, 5000);
        EXPECT_GT(soFar, previous);
        EXPECT_LE(soFar - previous, 1024);
        previous = soFar;
    }
    EXPECT_EQ(previous, 5000);
    struct stat info {};
    ASSERT_EQ(::stat(Target().c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0111, 0u);
}

// The service names files as they are called, spaces and UTF-8 included; they go out escaped.
TEST_F(DownloadTest, APathWithSpacesAndNonAsciiTextIsEscaped) {
    const std::string payload = Payload(100);
    CLocalHttpServer server([&](const CLocalHttpServer::Request& request) {
        if (request.requestLine.find("/files/new%20setup%C3%A9.bin?v=1%202 ") == std::string::npos) {
            return CLocalHttpServer::Response(400, "bad path");
        }
        auto reply = CLocalHttpServer::Response(200, payload, "application/octet-stream");
        if (request.requestLine.starts_with("HEAD")) {
            reply.bytes.resize(reply.bytes.size() - payload.size());
        }
        return reply;
    });

    EXPECT_TRUE(Download(server.Url("/files/new setupé.bin?v=1 2")));

    EXPECT_EQ(ReadFile(Target()), payload);
    EXPECT_EQ(server.Requests().at(1).requestLine, "GET /files/new%20setup%C3%A9.bin?v=1%202 HTTP/1.1");
}

TEST_F(DownloadTest, ServerThatStopsEarlyEndsTheDownloadAsAFailure) {
    const std::string payload = Payload(5000);
    CLocalHttpServer server([&](const CLocalHttpServer::Request& request) {
        auto reply = CLocalHttpServer::Response(200, payload, "application/octet-stream");
        reply.bytes.resize(reply.bytes.size() - (request.requestLine.starts_with("HEAD") ? 5000 : 3000));
        return reply;
    });

    EXPECT_FALSE(Download(server.Url("/cut")));

    EXPECT_EQ(ReadFile(Target()), payload.substr(0, 2000));
    ASSERT_FALSE(reports_.empty());
    EXPECT_EQ(reports_.back(), (std::pair<int64_t, int64_t>{0, 2000}));
    EXPECT_EQ(reports_.end()[-2].first, 5000);
}

TEST_F(DownloadTest, FailuresReportATotalOfZero) {
    CRefusedPort refused;
    CLocalHttpServer missing([](const auto&) { return CLocalHttpServer::Response(404, "{\"error\":1}"); });
    CLocalHttpServer noLength([](const CLocalHttpServer::Request& request) {
        std::string bytes = "HTTP/1.1 200 OK\r\nConnection: close\r\n\r\n";
        return CLocalHttpServer::Reply{request.requestLine.starts_with("HEAD") ? bytes : bytes + "data"};
    });
    for (const std::string& url : {refused.Url("/x"), missing.Url("/x"), noLength.Url("/x")}) {
        reports_.clear();
        EXPECT_FALSE(Download(url)) << url;
        EXPECT_EQ(reports_, (std::vector<std::pair<int64_t, int64_t>>{{0, 0}})) << url;
    }
}

}  // namespace
