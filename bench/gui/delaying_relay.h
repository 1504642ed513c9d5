#pragma once
// A TCP relay on 127.0.0.1 that costs what a distant server costs: it opens its
// connection to the upstream port a while after accepting a client (the handshake
// of a real connection) and holds every chunk for a while in each direction (half
// a round trip). The kernel here offers no traffic shaping, so benchmarks of
// connection handling put this between the page fetch and their server.

#include <arpa/inet.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <deque>
#include <memory>
#include <mutex>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

namespace shop::bench {

class DelayingRelay {
 public:
  using Clock = std::chrono::steady_clock;

  DelayingRelay(int upstream_port, std::chrono::milliseconds hold,
                std::chrono::milliseconds connect_delay)
      : upstream_port_(upstream_port), hold_(hold), connect_delay_(connect_delay) {
    listener_ = ::socket(AF_INET, SOCK_STREAM, 0);
    const int on = 1;
    ::setsockopt(listener_, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);
    sockaddr_in address = loopback(0);
    socklen_t length = sizeof address;
    if (::bind(listener_, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
        ::listen(listener_, 128) != 0 ||
        ::getsockname(listener_, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
      throw std::runtime_error("relay: cannot listen on 127.0.0.1");
    }
    port_ = ntohs(address.sin_port);
    threads_.emplace_back([this] { accept_clients(); });
  }

  ~DelayingRelay() {
    stopping_ = true;
    // Threads started while others are joined are joined in the next round.
    for (;;) {
      std::vector<std::thread> threads;
      {
        std::lock_guard lock(mutex_);
        threads.swap(threads_);
      }
      if (threads.empty()) {
        break;
      }
      for (std::thread& thread : threads) {
        thread.join();
      }
    }
    for (const int socket : sockets_) {
      ::close(socket);
    }
    ::close(listener_);
  }

  DelayingRelay(const DelayingRelay&) = delete;
  DelayingRelay& operator=(const DelayingRelay&) = delete;

  int port() const { return port_; }
  int connections() const { return connections_.load(); }

 private:
  // One direction of a connection: chunks read, each written `hold` after it came.
  struct Pipe {
    int from = -1;
    int to = -1;
    std::mutex mutex;
    std::condition_variable wake;
    std::deque<std::pair<Clock::time_point, std::string>> chunks;  // empty text: the end
  };

  static sockaddr_in loopback(int port) {
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(static_cast<uint16_t>(port));
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    return address;
  }

  // Waits up to 50 ms for the socket to be readable, so that a stop is noticed.
  bool readable(int socket) const {
    pollfd waiting{socket, POLLIN, 0};
    return ::poll(&waiting, 1, 50) > 0;
  }

  void accept_clients() {
    while (!stopping_) {
      if (!readable(listener_)) {
        continue;
      }
      const int client = ::accept(listener_, nullptr, nullptr);
      if (client < 0) {
        continue;
      }
      ++connections_;
      std::lock_guard lock(mutex_);
      sockets_.push_back(client);
      threads_.emplace_back([this, client] { connect_upstream(client); });
    }
  }

  void connect_upstream(int client) {
    std::this_thread::sleep_for(connect_delay_);
    const int upstream = ::socket(AF_INET, SOCK_STREAM, 0);
    const sockaddr_in address = loopback(upstream_port_);
    if (::connect(upstream, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0) {
      ::close(upstream);
      ::shutdown(client, SHUT_RDWR);
      return;
    }
    const int on = 1;
    ::setsockopt(upstream, IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
    ::setsockopt(client, IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
    std::lock_guard lock(mutex_);
    sockets_.push_back(upstream);
    for (const auto& [from, to] : {std::pair{client, upstream}, std::pair{upstream, client}}) {
      auto pipe = std::make_shared<Pipe>();
      pipe->from = from;
      pipe->to = to;
      pipes_.push_back(pipe);
      threads_.emplace_back([this, pipe] { read_chunks(*pipe); });
      threads_.emplace_back([this, pipe] { write_chunks(*pipe); });
    }
  }

  void read_chunks(Pipe& pipe) {
    char buffer[16384];
    while (!stopping_) {
      if (!readable(pipe.from)) {
        continue;
      }
      const ssize_t got = ::read(pipe.from, buffer, sizeof buffer);
      std::lock_guard lock(pipe.mutex);
      pipe.chunks.emplace_back(Clock::now() + hold_,
                               got > 0 ? std::string(buffer, static_cast<size_t>(got)) : "");
      pipe.wake.notify_all();
      if (got <= 0) {
        return;
      }
    }
  }

  void write_chunks(Pipe& pipe) {
    std::unique_lock lock(pipe.mutex);
    while (!stopping_) {
      if (pipe.chunks.empty()) {
        pipe.wake.wait_for(lock, std::chrono::milliseconds(50));
        continue;
      }
      const auto due = pipe.chunks.front().first;
      if (Clock::now() < due) {
        pipe.wake.wait_until(lock, due);
        continue;
      }
      const std::string chunk = std::move(pipe.chunks.front().second);
      pipe.chunks.pop_front();
      lock.unlock();
      if (chunk.empty()) {
        ::shutdown(pipe.to, SHUT_WR);
        return;
      }
      for (size_t sent = 0; sent < chunk.size();) {
        const ssize_t put = ::send(pipe.to, chunk.data() + sent, chunk.size() - sent, MSG_NOSIGNAL);
        if (put <= 0) {
          return;
        }
        sent += static_cast<size_t>(put);
      }
      lock.lock();
    }
  }

  int upstream_port_;
  std::chrono::milliseconds hold_;
  std::chrono::milliseconds connect_delay_;
  int listener_ = -1;
  int port_ = 0;
  std::atomic<bool> stopping_{false};
  std::atomic<int> connections_{0};
  std::mutex mutex_;
  std::vector<std::thread> threads_;
  std::vector<int> sockets_;
  std::vector<std::shared_ptr<Pipe>> pipes_;
};

}  // namespace shop::bench
