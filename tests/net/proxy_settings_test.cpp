#include "net/proxy_settings.h"

#include "tests/net/environment_guard.h"

#include <gtest/gtest.h>

namespace {

TEST(ProxySettingsTest, NoProxyListMatchesHostsAndDomainSuffixes) {
    const struct {
        const char* host;
        const char* list;
        bool bypassed;
    } cases[] = {
        {"updates.example.org", "example.org", true},
        {"updates.example.org", ".example.org", true},
        {"example.org", ".example.org", true},
        {"badexample.org", "example.org", false},
        {"EXAMPLE.org", " localhost , Example.ORG", true},
        {"anything", "*", true},
        {"host", "", false},
        {"host", ",,", false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(CProxySettings::IsBypassed(c.host, c.list), c.bypassed) << c.host << " in " << c.list;
    }
}

TEST(ProxySettingsTest, SchemeChoosesTheVariableAndLowerCaseWins) {
    CEnvironmentGuard environment(CEnvironmentGuard::NetworkVariables());
    setenv("HTTP_PROXY", "http://upper:1", 1);
    setenv("https_proxy", "http://secure:2", 1);
    EXPECT_EQ(CProxySettings::ProxyForUrl("http://a.example/"), "http://upper:1");
    EXPECT_EQ(CProxySettings::ProxyForUrl("HTTPS://a.example/"), "http://secure:2");

    setenv("http_proxy", "http://lower:3", 1);
    setenv("NO_PROXY", "b.example", 1);
    EXPECT_EQ(CProxySettings::ProxyForUrl("http://a.example/"), "http://lower:3");
    EXPECT_EQ(CProxySettings::ProxyForUrl("http://b.example:8080/api/"), "");
}

}  // namespace
