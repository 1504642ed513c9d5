#pragma once
// HTTP servers for tests, on 127.0.0.1 with an ephemeral port.
//
// LocalServer wraps httplib::Server: register handlers on server() (Get, Post,
// set_pre_routing_handler, ...), then start(); every request is recorded before
// it is routed. RawHttpServer answers every connection with fixed bytes and keeps
// each request exactly as it came over the wire (header order, empty headers).

#include <httplib.h>

#include <atomic>
#include <cstddef>
#include <mutex>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

namespace shop::test_support {

// The backlog every local server listens with: large enough for every client a test
// or benchmark connects at once (cpp-httplib's own 5 would drop handshakes beyond it,
// and each dropped one costs the client a second before it tries again).
inline constexpr int kListenBacklog = 128;

struct RecordedRequest {
  std::string method;
  std::string target;  // as on the request line: a path, or an absolute address via a proxy
  std::string path;
  std::string body;
  httplib::Headers headers;

  std::string header(const std::string& name) const;  // "" when absent
  bool has_header(const std::string& name) const;
};

class LocalServer {
 public:
  explicit LocalServer(std::size_t threads = 16);
  ~LocalServer();
  LocalServer(const LocalServer&) = delete;
  LocalServer& operator=(const LocalServer&) = delete;

  httplib::Server& server() { return server_; }
  // Binds 127.0.0.1 on a free port and returns once the server accepts requests.
  void start();
  void stop();

  int port() const { return port_; }
  // "http://127.0.0.1:<port>" followed by `path`.
  std::string url(std::string_view path = "/") const;

  std::vector<RecordedRequest> requests() const;
  std::size_t request_count() const;

 private:
  httplib::Server server_;
  std::thread thread_;
  int port_ = -1;
  mutable std::mutex mutex_;
  std::vector<RecordedRequest> requests_;
};

class RawHttpServer {
 public:
  // `response` is written as it stands after each request has been read.
  explicit RawHttpServer(
      std::string response = "HTTP/1.1 200 OK\r\nContent-Length: 2\r\nConnection: close\r\n\r\nok");
  ~RawHttpServer();
  RawHttpServer(const RawHttpServer&) = delete;
  RawHttpServer& operator=(const RawHttpServer&) = delete;

  int port() const { return port_; }
  std::string url(std::string_view path = "/") const;
  // Each request as received: head (up to and including the blank line) and the
  // body announced by Content-Length.
  std::vector<std::string> requests() const;

 private:
  void serve();

  std::string response_;
  int listener_ = -1;
  int port_ = -1;
  std::atomic<bool> stopping_{false};
  std::thread thread_;
  mutable std::mutex mutex_;
  std::vector<std::string> requests_;
};

// A port on 127.0.0.1 that nothing listens on (bound, then released).
int unused_local_port();

}  // namespace shop::test_support
