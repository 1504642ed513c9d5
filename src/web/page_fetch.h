#pragma once
// One synchronous HTTP request returning the raw response body.

#include <string>

#include "web/fetch_tuning.h"
#include "web/text.h"

namespace shop {

struct PageRequest {  // the ten parameters, in their order
  Text address, method, proxy_host;
  int proxy_port = 0;
  Text proxy_user, proxy_password, cookie, body, referer;
  int poll_count = 0;
  Text user_agent;  // empty: the client's own, kDefaultUserAgent
};

inline constexpr const char* kDefaultUserAgent = "shopkeeper/2.0";

// Process-wide set-up of the HTTP client (curl_global_init, SIGPIPE ignored).
// Call it first thing in main(), before any thread starts; later calls do nothing.
// fetch_page calls it too.
void init_page_fetch();

// Raw body bytes (zero bytes included), whatever the status code; empty on failure.
// Connections, TLS sessions and DNS answers are kept between calls, from any
// thread, so that the pages of a run travel over warm connections; every request
// still sets all of its own headers and options afresh.
std::string fetch_page(const PageRequest& request);
std::string fetch_page(const PageRequest& request, const FetchTuning& tuning);
// Closes the connections kept between fetches. A server that stops waits for its
// idle clients, so test servers call this before they stop.
void close_idle_connections();
// The body as fetch_page gives it, with the HTTP status of the answer it came
// with (0 when no answer came).
struct FetchedPage {
  std::string body;
  long status = 0;
};
FetchedPage fetch_page_with_status(const PageRequest& request);
FetchedPage fetch_page_with_status(const PageRequest& request, const FetchTuning& tuning);

// The bytes up to the first zero byte, taken unchanged as GBK text.
Text body_to_text(const std::string& body);

// The proxy as handed to the client: "host:port", port 0 meaning 80.
Text proxy_text(const Text& host, int port);

}  // namespace shop
