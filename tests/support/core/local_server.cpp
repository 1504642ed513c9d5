#include "support/core/local_server.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cctype>
#include <chrono>
#include <cstdlib>
#include <stdexcept>

#include "web/page_fetch.h"

namespace shop::test_support {
namespace {

std::string local_url(int port, std::string_view path) {
  return "http://127.0.0.1:" + std::to_string(port) + std::string(path);
}

// A TCP socket bound to 127.0.0.1 on a free port; returns the descriptor.
int bind_loopback(int& port) {
  const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
  if (fd < 0) {
    throw std::runtime_error("socket failed");
  }
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  address.sin_port = 0;
  socklen_t length = sizeof address;
  if (::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
      ::getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
    ::close(fd);
    throw std::runtime_error("bind failed");
  }
  port = ntohs(address.sin_port);
  return fd;
}

}  // namespace

std::string RecordedRequest::header(const std::string& name) const {
  const auto found = headers.find(name);
  return found == headers.end() ? std::string() : found->second;
}

bool RecordedRequest::has_header(const std::string& name) const {
  return headers.find(name) != headers.end();
}

LocalServer::LocalServer(std::size_t threads) {
  server_.new_task_queue = [threads] { return new httplib::ThreadPool(threads); };
  // Answers go out at once: with Nagle's algorithm the body of an answer on a kept
  // connection waits for the client's delayed acknowledgement of its head (40 ms).
  server_.set_tcp_nodelay(true);
  server_.set_pre_routing_handler([this](const httplib::Request& request, httplib::Response&) {
    std::lock_guard lock(mutex_);
    requests_.push_back(
        {request.method, request.target, request.path, request.body, request.headers});
    return httplib::Server::HandlerResponse::Unhandled;
  });
}

LocalServer::~LocalServer() {
  stop();
}

void LocalServer::start() {
  int listener = -1;
  server_.set_socket_options([&listener](int fd) {
    httplib::default_socket_options(fd);
    listener = fd;
  });
  port_ = server_.bind_to_any_port("127.0.0.1");
  if (port_ <= 0) {
    throw std::runtime_error("LocalServer: cannot bind 127.0.0.1");
  }
  // The library listens with a backlog of 5; listening again raises it.
  if (::listen(listener, kListenBacklog) != 0) {
    throw std::runtime_error("LocalServer: listen failed");
  }
  thread_ = std::thread([this] { server_.listen_after_bind(); });
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
  while (!server_.is_running()) {
    if (std::chrono::steady_clock::now() > deadline) {
      throw std::runtime_error("LocalServer: did not start");
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
}

void LocalServer::stop() {
  if (thread_.joinable()) {
    // Otherwise the server waits for the fetch's kept-alive connections to time out.
    shop::close_idle_connections();
    server_.stop();
    thread_.join();
  }
}

std::string LocalServer::url(std::string_view path) const {
  return local_url(port_, path);
}

std::vector<RecordedRequest> LocalServer::requests() const {
  std::lock_guard lock(mutex_);
  return requests_;
}

std::size_t LocalServer::request_count() const {
  std::lock_guard lock(mutex_);
  return requests_.size();
}

RawHttpServer::RawHttpServer(std::string response) : response_(std::move(response)) {
  listener_ = bind_loopback(port_);
  if (::listen(listener_, kListenBacklog) != 0) {
    ::close(listener_);
    throw std::runtime_error("RawHttpServer: listen failed");
  }
  thread_ = std::thread([this] { serve(); });
}

RawHttpServer::~RawHttpServer() {
  stopping_ = true;
  thread_.join();
  ::close(listener_);
}

std::string RawHttpServer::url(std::string_view path) const {
  return local_url(port_, path);
}

std::vector<std::string> RawHttpServer::requests() const {
  std::lock_guard lock(mutex_);
  return requests_;
}

void RawHttpServer::serve() {
  while (!stopping_) {
    pollfd waiting{listener_, POLLIN, 0};
    if (::poll(&waiting, 1, 20) <= 0) {
      continue;
    }
    const int connection = ::accept(listener_, nullptr, nullptr);
    if (connection < 0) {
      continue;
    }
    std::string received;
    std::size_t wanted = std::string::npos;  // head plus body, once the head is in
    char buffer[4096];
    while (received.size() < wanted) {
      pollfd readable{connection, POLLIN, 0};
      if (::poll(&readable, 1, 2000) <= 0) {
        break;
      }
      const ssize_t got = ::recv(connection, buffer, sizeof buffer, 0);
      if (got <= 0) {
        break;
      }
      received.append(buffer, static_cast<std::size_t>(got));
      const std::size_t head_end = received.find("\r\n\r\n");
      if (wanted == std::string::npos && head_end != std::string::npos) {
        std::string head = received.substr(0, head_end);
        for (char& c : head) {
          c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        }
        std::size_t body_length = 0;
        const std::size_t field = head.find("\r\ncontent-length:");
        if (field != std::string::npos) {
          body_length = std::strtoul(head.c_str() + field + 17, nullptr, 10);
        }
        wanted = head_end + 4 + body_length;
      }
    }
    {
      std::lock_guard lock(mutex_);
      requests_.push_back(received);
    }
    ::send(connection, response_.data(), response_.size(), MSG_NOSIGNAL);
    ::close(connection);
  }
}

int unused_local_port() {
  int port = 0;
  ::close(bind_loopback(port));
  return port;
}

}  // namespace shop::test_support
