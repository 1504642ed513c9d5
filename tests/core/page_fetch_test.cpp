#include "web/page_fetch.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdlib>
#include <future>
#include <mutex>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "support/core/local_server.h"
#include "support/core/proxy_environment.h"

namespace shop {
namespace {

using test_support::LocalServer;
using test_support::RawHttpServer;

// Proxy variables of the machine running the tests must not send the loopback
// requests elsewhere.
class NoProxyEnvironment : public ::testing::Environment {
 public:
  void SetUp() override { testing::clear_proxy_environment(); }
};
const auto* const kNoProxy = ::testing::AddGlobalTestEnvironment(new NoProxyEnvironment);

// Quick failures: one extra read of an empty body, no pause.
FetchTuning quick() {
  FetchTuning tuning;
  tuning.poll_pause = std::chrono::milliseconds(0);
  return tuning;
}

PageRequest get(const std::string& address) {
  PageRequest request;
  request.address = address;
  request.poll_count = 1;
  return request;
}

// The header lines of a raw request, request line first.
std::vector<std::string> head_lines(const std::string& raw) {
  std::vector<std::string> lines;
  const size_t head_end = raw.find("\r\n\r\n");
  for (size_t from = 0; from < head_end;) {
    const size_t end = raw.find("\r\n", from);
    lines.push_back(raw.substr(from, end - from));
    from = end + 2;
  }
  return lines;
}

TEST(FetchPage, SendsMethodHeadersInOrderAndBody) {
  struct Case {
    const char* what;
    Text method, cookie, referer, body;
    std::string request_line;
    std::vector<std::string> headers;  // in the order they must arrive
  };
  const std::vector<Case> cases = {
      {"all empty",
       "",
       "",
       "",
       "",
       "GET /page?q=%C1%AC HTTP/1.1",
       {"Referer:", "Accept-Language: zh-cn", "Content-Type: application/x-www-form-urlencoded"}},
      {"post with cookie",
       "POST",
       "sid=1; k=v",
       "http://shop.example/",
       "a=1&b=%C1%AC",
       "POST /page?q=%C1%AC HTTP/1.1",
       {"Referer: http://shop.example/", "Accept-Language: zh-cn",
        "Content-Type: application/x-www-form-urlencoded", "Cookie: sid=1; k=v"}},
      {"other method", "PUT", "", "", "x", "PUT /page?q=%C1%AC HTTP/1.1", {"Referer:"}},
  };
  for (const Case& c : cases) {
    RawHttpServer server;
    PageRequest request = get(server.url("/page?q=%C1%AC"));
    request.method = c.method;
    request.cookie = c.cookie;
    request.referer = c.referer;
    request.body = c.body;
    EXPECT_EQ(fetch_page(request, quick()), "ok") << c.what;

    const std::vector<std::string> raw = server.requests();
    ASSERT_EQ(raw.size(), 1u) << c.what;
    const std::vector<std::string> lines = head_lines(raw[0]);
    EXPECT_EQ(lines.at(0), c.request_line) << c.what;
    size_t previous = 0;
    for (const std::string& header : c.headers) {
      const auto found = std::find(lines.begin(), lines.end(), header);
      ASSERT_NE(found, lines.end()) << c.what << ": " << header;
      EXPECT_GT(size_t(found - lines.begin()), previous) << c.what << ": " << header;
      previous = found - lines.begin();
    }
    EXPECT_EQ(std::count_if(lines.begin(), lines.end(),
                            [](const std::string& line) { return line.rfind("Cookie", 0) == 0; }),
              c.cookie.empty() ? 0 : 1)
        << c.what;
    EXPECT_EQ(raw[0].substr(raw[0].find("\r\n\r\n") + 4), c.body) << c.what;
  }
}

TEST(FetchPage, HeaderTextWithLineBreakIsNotSent) {
  RawHttpServer server;
  const struct {
    const char* name;
    Text PageRequest::*field;
  } fields[] = {{"cookie", &PageRequest::cookie},
                {"referer", &PageRequest::referer},
                {"method", &PageRequest::method},
                {"user agent", &PageRequest::user_agent}};
  for (const auto& field : fields) {
    for (const Text evil : {"x\r\nX-Injected: 1", "x\nX-Injected: 1", "x\rX-Injected: 1"}) {
      PageRequest request = get(server.url("/"));
      request.*field.field = evil;
      EXPECT_EQ(fetch_page(request, quick()), "") << field.name;
    }
  }
  EXPECT_TRUE(server.requests().empty());
}

TEST(FetchPage, ReturnsRawBodyOrNothing) {
  LocalServer local;
  httplib::Server& server = local.server();
  const std::string zero_body("ab\0cd", 5);
  server.Get("/zero", [&](const httplib::Request&, httplib::Response& response) {
    response.set_content(zero_body, "text/plain");
  });
  server.Get("/final", [](const httplib::Request&, httplib::Response& response) {
    response.set_content("final", "text/plain");
  });
  server.Get("/missing", [](const httplib::Request&, httplib::Response& response) {
    response.status = 404;
    response.set_content("not here", "text/html");
  });
  server.Get("/redirect", [](const httplib::Request&, httplib::Response& response) {
    response.set_redirect("/final");
  });
  server.Get("/to-file", [](const httplib::Request&, httplib::Response& response) {
    response.set_redirect("file:///etc/hostname");
  });
  server.Get("/loop", [](const httplib::Request&, httplib::Response& response) {
    response.set_redirect("/loop");
  });
  server.Get(R"(/size/(\d+))", [](const httplib::Request& request, httplib::Response& response) {
    response.set_content(std::string(std::stoul(request.matches[1]), 'x'), "text/plain");
  });
  server.Get(R"(/chunked/(\d+))", [](const httplib::Request& request, httplib::Response& response) {
    const std::string body(std::stoul(request.matches[1]), 'x');
    response.set_chunked_content_provider("text/plain", [body](size_t, httplib::DataSink& sink) {
      sink.write(body.data(), body.size());
      sink.done();
      return true;
    });
  });
  local.start();

  FetchTuning tuning = quick();
  tuning.max_body_bytes = 1000;
  const struct {
    const char* path;
    std::string body;
  } cases[] = {
      {"/zero", zero_body},   {"/missing", "not here"},
      {"/redirect", "final"}, {"/to-file", ""},
      {"/loop", ""},          {"/size/1000", std::string(1000, 'x')},
      {"/size/1001", ""},     {"/chunked/1000", std::string(1000, 'x')},
      {"/chunked/1001", ""},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(fetch_page(get(local.url(c.path)), tuning), c.body) << c.path;
  }
  EXPECT_EQ(body_to_text(fetch_page(get(local.url("/zero")), tuning)), "ab");
  const auto requests = local.requests();
  // The first request and ten redirections, then the client gives up.
  EXPECT_EQ(std::count_if(requests.begin(), requests.end(),
                          [](const auto& request) { return request.path == "/loop"; }),
            11);
}

TEST(FetchPage, RereadsAnEmptyBodyUpToTheLimit) {
  LocalServer local;
  local.server().Get("/empty", [](const httplib::Request&, httplib::Response&) {});
  local.server().Get("/full", [](const httplib::Request&, httplib::Response& response) {
    response.set_content("x", "text/plain");
  });
  local.start();
  const int refused_port = test_support::unused_local_port();

  const struct {
    std::string address;
    int poll_count;
    int reads;
  } cases[] = {
      {local.url("/empty"), 3, 4},
      {local.url("/empty"), 0, 10001},
      {local.url("/empty"), -1, 1},
      {local.url("/full"), 3, 1},
      {"http://127.0.0.1:" + std::to_string(refused_port) + "/", 2, 3},
  };
  for (const auto& c : cases) {
    int reads = 0;
    FetchTuning tuning = quick();
    tuning.on_body_read = [&reads] { ++reads; };
    PageRequest request = get(c.address);
    request.poll_count = c.poll_count;
    const std::string body = fetch_page(request, tuning);
    EXPECT_EQ(reads, c.reads) << c.address << " poll " << c.poll_count;
    EXPECT_EQ(body.empty(), c.address.find("/full") == std::string::npos) << c.address;
  }
  // Reading the body again never sends the request again.
  EXPECT_EQ(local.request_count(), 4u);
}

TEST(FetchPage, PausesAfterEachEmptyRead) {
  LocalServer local;
  local.server().Get("/empty", [](const httplib::Request&, httplib::Response&) {});
  local.start();
  std::vector<std::chrono::steady_clock::time_point> reads;
  FetchTuning tuning;
  tuning.on_body_read = [&reads] { reads.push_back(std::chrono::steady_clock::now()); };
  PageRequest request = get(local.url("/empty"));
  request.poll_count = 5;
  fetch_page(request, tuning);
  ASSERT_EQ(reads.size(), 6u);
  for (size_t i = 1; i < reads.size(); ++i) {
    EXPECT_GT(reads[i] - reads[i - 1], std::chrono::milliseconds(1)) << "read " << i;
  }
}

TEST(FetchPage, GoesThroughTheNamedProxyOnly) {
  LocalServer proxy;
  proxy.server().Get(".*", [](const httplib::Request&, httplib::Response& response) {
    response.set_content("via proxy", "text/plain");
  });
  proxy.start();

  PageRequest request = get("http://shop.example/item?id=7");
  request.proxy_host = "127.0.0.1";
  request.proxy_port = proxy.port();
  request.proxy_user = "u";
  request.proxy_password = "p:w";
  EXPECT_EQ(fetch_page(request, quick()), "via proxy");

  request.proxy_user = "";  // a password alone sends no credentials
  EXPECT_EQ(fetch_page(request, quick()), "via proxy");

  PageRequest direct = get(proxy.url("/direct"));
  direct.proxy_user = "u";  // credentials without a proxy host configure nothing
  direct.proxy_password = "p";
  EXPECT_EQ(fetch_page(direct, quick()), "via proxy");

  const auto requests = proxy.requests();
  ASSERT_EQ(requests.size(), 3u);
  EXPECT_EQ(requests[0].target, "http://shop.example/item?id=7");
  EXPECT_EQ(requests[0].header("Proxy-Authorization"), "Basic dTpwOnc=");
  EXPECT_EQ(requests[1].target, "http://shop.example/item?id=7");
  EXPECT_FALSE(requests[1].has_header("Proxy-Authorization"));
  EXPECT_EQ(requests[2].target, "/direct");
  EXPECT_FALSE(requests[2].has_header("Proxy-Authorization"));
}

TEST(FetchPage, UsesTheEnvironmentProxyWithoutAProxyHost) {
  LocalServer proxy;
  proxy.server().Get(".*", [](const httplib::Request&, httplib::Response& response) {
    response.set_content("via proxy", "text/plain");
  });
  proxy.start();
  ::setenv("http_proxy", proxy.url("").c_str(), 1);
  const std::string body = fetch_page(get("http://shop.example/env"), quick());
  ::unsetenv("http_proxy");
  EXPECT_EQ(body, "via proxy");
  ASSERT_EQ(proxy.request_count(), 1u);
  EXPECT_EQ(proxy.requests()[0].target, "http://shop.example/env");
}

TEST(ProxyText, PortZeroMeans80) {
  EXPECT_EQ(proxy_text("10.0.0.1", 0), "10.0.0.1:80");
  EXPECT_EQ(proxy_text("proxy.example", 8080), "proxy.example:8080");
}

TEST(FetchPage, AbandonsAStallingServer) {
  std::promise<void> release;
  const std::shared_future<void> released = release.get_future().share();
  std::atomic<int> finished{0};
  {
    LocalServer local;
    local.server().Get("/silent", [&](const httplib::Request&, httplib::Response& response) {
      released.wait_for(std::chrono::seconds(20));
      response.set_content("late", "text/plain");
      ++finished;
    });
    local.server().Get("/trickle", [&](const httplib::Request&, httplib::Response& response) {
      response.set_content_provider(1000, "text/plain",
                                    [&](size_t offset, size_t, httplib::DataSink& sink) {
                                      if (offset == 0) {
                                        return sink.write("0123456789", 10);
                                      }
                                      released.wait_for(std::chrono::seconds(20));
                                      ++finished;
                                      return false;
                                    });
    });
    local.start();

    FetchTuning tuning = quick();
    tuning.total_timeout = std::chrono::milliseconds(300);
    for (const char* path : {"/silent", "/trickle"}) {
      EXPECT_EQ(fetch_page(get(local.url(path)), tuning), "") << path;
    }
    // Both answers were still held back when the fetches gave up.
    EXPECT_EQ(finished.load(), 0);
    release.set_value();
  }
  EXPECT_EQ(finished.load(), 2);
}

TEST(FetchPage, ManyThreadsGetTheirOwnBodies) {
  LocalServer local(32);
  local.server().Get(
      R"(/page/(\d+))", [](const httplib::Request& request, httplib::Response& response) {
        response.set_content(std::string(5000, 'a') + request.matches[1].str(), "text/plain");
      });
  local.start();

  constexpr int kThreads = 16;
  std::vector<std::string> bodies[kThreads];
  std::vector<std::thread> threads;
  for (int t = 0; t < kThreads; ++t) {
    threads.emplace_back([&, t] {
      for (int i = 0; i < 5; ++i) {
        bodies[t].push_back(fetch_page(get(local.url("/page/" + std::to_string(t * 10 + i)))));
      }
    });
  }
  for (std::thread& thread : threads) {
    thread.join();
  }
  for (int t = 0; t < kThreads; ++t) {
    for (int i = 0; i < 5; ++i) {
      EXPECT_EQ(bodies[t][i], std::string(5000, 'a') + std::to_string(t * 10 + i));
    }
  }
}

// Rows of a run: each row's pages fetched by threads of their own, as the worker
// pool starts fresh threads per row.
TEST(FetchPage, RowsOfParallelFetchesReuseTheirConnections) {
  LocalServer local(32);
  std::mutex mutex;
  std::set<int> client_ports;
  local.server().set_keep_alive_max_count(1000);
  local.server().Get(R"(/page/(\d+))",
                     [&](const httplib::Request& request, httplib::Response& response) {
                       {
                         std::lock_guard lock(mutex);
                         client_ports.insert(request.remote_port);
                       }
                       response.set_content("page " + request.matches[1].str(), "text/plain");
                     });
  local.start();

  constexpr int kRows = 10;
  constexpr int kPagesPerRow = 10;
  for (int row = 0; row < kRows; ++row) {
    std::vector<std::future<std::string>> pages;
    for (int page = 0; page < kPagesPerRow; ++page) {
      const std::string path = "/page/" + std::to_string(row * kPagesPerRow + page);
      pages.push_back(std::async(std::launch::async, [&local, path] {
        return fetch_page(get(local.url(path)), quick());
      }));
    }
    for (int page = 0; page < kPagesPerRow; ++page) {
      EXPECT_EQ(pages[page].get(), "page " + std::to_string(row * kPagesPerRow + page));
    }
  }
  // A connection per page would make 100.
  EXPECT_LE(client_ports.size(), size_t{kPagesPerRow});
}

TEST(FetchPage, AReusedConnectionCarriesOnlyItsOwnHeaders) {
  LocalServer local;
  std::vector<int> client_ports;
  local.server().Get("/port", [&](const httplib::Request& request, httplib::Response& response) {
    client_ports.push_back(request.remote_port);
    response.set_content("ok", "text/plain");
  });
  local.start();

  PageRequest dressed = get(local.url("/port"));
  dressed.cookie = "sid=secret";
  dressed.referer = "http://shop.example/";
  dressed.user_agent = "Mozilla/5.0 (seller)";
  PageRequest plain = get(local.url("/port"));
  EXPECT_EQ(fetch_page(dressed, quick()), "ok");
  EXPECT_EQ(fetch_page(plain, quick()), "ok");

  ASSERT_EQ(client_ports.size(), 2u);
  EXPECT_EQ(client_ports[0], client_ports[1]) << "the second fetch opened a new connection";
  const auto requests = local.requests();
  ASSERT_EQ(requests.size(), 2u);
  EXPECT_EQ(requests[0].header("Cookie"), "sid=secret");
  EXPECT_EQ(requests[0].header("Referer"), "http://shop.example/");
  EXPECT_EQ(requests[0].header("User-Agent"), "Mozilla/5.0 (seller)");
  EXPECT_FALSE(requests[1].has_header("Cookie"));
  EXPECT_EQ(requests[1].header("Referer"), "");
  EXPECT_EQ(requests[1].header("User-Agent"), kDefaultUserAgent);
  for (const auto& request : requests) {
    EXPECT_EQ(request.header("Accept-Language"), "zh-cn");
    EXPECT_EQ(request.header("Content-Type"), "application/x-www-form-urlencoded");
  }
}

TEST(FetchPageWithStatus, GivesTheBodyWithTheStatusOfTheLastAnswer) {
  LocalServer local;
  local.server().Get("/page", [](const httplib::Request&, httplib::Response& response) {
    response.set_content("page", "text/html");
  });
  local.server().Get("/missing", [](const httplib::Request&, httplib::Response& response) {
    response.status = 404;
    response.set_content("not here", "text/html");
  });
  local.server().Get("/moved", [](const httplib::Request&, httplib::Response& response) {
    response.set_redirect("/page");
  });
  local.start();
  const std::string refused =
      "http://127.0.0.1:" + std::to_string(test_support::unused_local_port()) + "/";
  const struct {
    std::string address;
    std::string body;
    long status;
  } cases[] = {
      {local.url("/page"), "page", 200},
      {local.url("/missing"), "not here", 404},
      {local.url("/moved"), "page", 200},
      {local.url("/nothing"), "", 404},  // the library's 404 comes without a body
      {refused, "", 0},
  };
  for (const auto& c : cases) {
    const FetchedPage page = fetch_page_with_status(get(c.address), quick());
    EXPECT_EQ(page.body, c.body) << c.address;
    EXPECT_EQ(page.status, c.status) << c.address;
  }
}

}  // namespace
}  // namespace shop
