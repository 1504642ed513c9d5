#include "web/page_fetch.h"

#include <curl/curl.h>

#include <array>
#include <csignal>
#include <memory>
#include <mutex>
#include <thread>
#include <utility>
#include <vector>

namespace shop {
namespace {

constexpr int kDefaultPollLimit = 10000;
// Handles kept between fetches, and the connections each of them keeps open: enough
// for a row's pages and a friend-link check in flight at the same time.
constexpr size_t kMaxIdleHandles = 32;
constexpr long kConnectionsPerHandle = 4;

std::mutex& tuning_mutex() {
  static std::mutex mutex;
  return mutex;
}

FetchTuning& tuning_slot() {
  static FetchTuning tuning;
  return tuning;
}

struct EasyDeleter {
  void operator()(CURL* handle) const { curl_easy_cleanup(handle); }
};
struct ListDeleter {
  void operator()(curl_slist* list) const { curl_slist_free_all(list); }
};
using EasyHandle = std::unique_ptr<CURL, EasyDeleter>;
using HeaderList = std::unique_ptr<curl_slist, ListDeleter>;

// DNS answers and TLS sessions shared by every handle, under one lock per kind of
// data. Connections stay with the handle that made them: libcurl does not support
// a connection cache shared by concurrent threads.
class SharedCaches {
 public:
  SharedCaches() : share_(curl_share_init()) {
    if (share_ == nullptr) {
      return;
    }
    curl_share_setopt(share_, CURLSHOPT_LOCKFUNC, lock);
    curl_share_setopt(share_, CURLSHOPT_UNLOCKFUNC, unlock);
    curl_share_setopt(share_, CURLSHOPT_USERDATA, this);
    curl_share_setopt(share_, CURLSHOPT_SHARE, CURL_LOCK_DATA_DNS);
    curl_share_setopt(share_, CURLSHOPT_SHARE, CURL_LOCK_DATA_SSL_SESSION);
  }
  CURLSH* share() const { return share_; }

 private:
  static void lock(CURL*, curl_lock_data data, curl_lock_access, void* self) {
    static_cast<SharedCaches*>(self)->locks_.at(static_cast<size_t>(data)).lock();
  }
  static void unlock(CURL*, curl_lock_data data, void* self) {
    static_cast<SharedCaches*>(self)->locks_.at(static_cast<size_t>(data)).unlock();
  }

  CURLSH* share_;
  std::array<std::mutex, CURL_LOCK_DATA_LAST> locks_;
};

// The scheme, host and port of an address, with the proxy it goes through: a
// handle that last served the same origin most likely holds a live connection.
std::string origin_of(const PageRequest& request) {
  const Text& address = request.address;
  const size_t scheme_end = address.find("://");
  const size_t host_start = scheme_end == Text::npos ? 0 : scheme_end + 3;
  const size_t host_end = address.find_first_of("/?#", host_start);
  std::string origin = address.substr(0, host_end);
  if (!request.proxy_host.empty()) {
    origin += " via " + proxy_text(request.proxy_host, request.proxy_port);
  }
  return origin;
}

// Easy handles put aside between fetches, each with its open connections. A handle
// serves one fetch at a time; it may pass from thread to thread.
class HandlePool {
 public:
  // A handle that last served `origin` if there is one, else the one put aside
  // last, else a new one; in every case with all options at their defaults and
  // attached to the shared caches.
  EasyHandle take(const std::string& origin) {
    EasyHandle handle;
    {
      std::lock_guard lock(mutex_);
      auto chosen = idle_.end();
      for (auto it = idle_.rbegin(); it != idle_.rend(); ++it) {
        if (it->origin == origin) {
          chosen = std::prev(it.base());
          break;
        }
      }
      if (chosen == idle_.end() && !idle_.empty()) {
        chosen = std::prev(idle_.end());
      }
      if (chosen != idle_.end()) {
        handle = std::move(chosen->handle);
        idle_.erase(chosen);
      }
    }
    if (!handle) {
      handle.reset(curl_easy_init());
    }
    if (handle && caches_.share() != nullptr) {
      curl_easy_setopt(handle.get(), CURLOPT_SHARE, caches_.share());
    }
    return handle;
  }

  // Clears every option of the fetch just done (its headers, body and buffers are
  // gone) and keeps the handle with its connections; the oldest one goes when too
  // many are put aside.
  void close_all() {
    std::vector<Idle> closing;
    {
      std::lock_guard lock(mutex_);
      closing.swap(idle_);
    }
  }

  void give_back(EasyHandle handle, std::string origin) {
    curl_easy_reset(handle.get());
    EasyHandle surplus;
    std::lock_guard lock(mutex_);
    idle_.push_back({std::move(origin), std::move(handle)});
    if (idle_.size() > kMaxIdleHandles) {
      surplus = std::move(idle_.front().handle);
      idle_.erase(idle_.begin());
    }
  }

 private:
  struct Idle {
    std::string origin;
    EasyHandle handle;
  };

  SharedCaches caches_;
  std::mutex mutex_;
  std::vector<Idle> idle_;  // the one put aside last at the back
};

// Lives as long as the process: fetches may still run on detached threads while
// the process ends.
HandlePool& handle_pool() {
  static auto* pool = new HandlePool;
  return *pool;
}

struct Exchange {
  std::string body;
  std::size_t max_body_bytes = 0;
};

size_t on_body_bytes(char* data, size_t size, size_t count, void* user) {
  auto& exchange = *static_cast<Exchange*>(user);
  const size_t bytes = size * count;
  if (bytes > exchange.max_body_bytes - exchange.body.size()) {
    return 0;  // over the cap: libcurl aborts the transfer with a write error
  }
  exchange.body.append(data, bytes);
  return bytes;
}

// A value that would end its header line or the request line early (and so let
// a caller's text add headers of its own) makes the request invalid.
bool fits_one_line(const Text& value) {
  return value.find_first_of(std::string_view("\r\n\0", 3)) == Text::npos;
}

bool append_header(HeaderList& list, const std::string& line) {
  curl_slist* grown = curl_slist_append(list.get(), line.c_str());
  if (grown == nullptr) {
    return false;
  }
  (void)list.release();
  list.reset(grown);
  return true;
}

// Referer (also empty: "Name;" sends an empty header), Accept-Language,
// Content-Type on every request, Cookie only when there is one. "Expect:" keeps
// libcurl from waiting for "100 Continue" before a large body.
bool build_headers(const PageRequest& request, HeaderList& list) {
  const std::string referer = request.referer.empty() ? "Referer;" : "Referer: " + request.referer;
  return append_header(list, referer) && append_header(list, "Accept-Language: zh-cn") &&
         append_header(list, "Content-Type: application/x-www-form-urlencoded") &&
         (request.cookie.empty() || append_header(list, "Cookie: " + request.cookie)) &&
         append_header(list, "Expect:");
}

void set_method_and_body(CURL* curl, const Text& method, const Text& body) {
  if (method == "HEAD") {
    curl_easy_setopt(curl, CURLOPT_NOBODY, 1L);
    return;
  }
  if (!body.empty() || method == "POST") {
    curl_easy_setopt(curl, CURLOPT_POSTFIELDSIZE_LARGE, static_cast<curl_off_t>(body.size()));
    curl_easy_setopt(curl, CURLOPT_POSTFIELDS, body.data());
  }
  if (method != "GET" && method != "POST") {
    curl_easy_setopt(curl, CURLOPT_CUSTOMREQUEST, method.c_str());
  } else if (method == "GET" && !body.empty()) {
    curl_easy_setopt(curl, CURLOPT_CUSTOMREQUEST, "GET");
  }
}

void set_limits(CURL* curl, const FetchTuning& tuning) {
  curl_easy_setopt(curl, CURLOPT_NOSIGNAL, 1L);
  curl_easy_setopt(curl, CURLOPT_PROTOCOLS_STR, "http,https");
  curl_easy_setopt(curl, CURLOPT_REDIR_PROTOCOLS_STR, "http,https");
  curl_easy_setopt(curl, CURLOPT_FOLLOWLOCATION, 1L);
  curl_easy_setopt(curl, CURLOPT_MAXREDIRS, tuning.max_redirects);
  curl_easy_setopt(curl, CURLOPT_CONNECTTIMEOUT_MS,
                   static_cast<long>(tuning.connect_timeout.count()));
  curl_easy_setopt(curl, CURLOPT_TIMEOUT_MS, static_cast<long>(tuning.total_timeout.count()));
  curl_easy_setopt(curl, CURLOPT_LOW_SPEED_LIMIT, tuning.low_speed_bytes_per_second);
  curl_easy_setopt(curl, CURLOPT_LOW_SPEED_TIME, static_cast<long>(tuning.low_speed_time.count()));
  curl_easy_setopt(curl, CURLOPT_MAXFILESIZE_LARGE, static_cast<curl_off_t>(tuning.max_body_bytes));
  curl_easy_setopt(curl, CURLOPT_MAXCONNECTS, kConnectionsPerHandle);
  if (!tuning.ca_file.empty()) {
    curl_easy_setopt(curl, CURLOPT_CAINFO, tuning.ca_file.c_str());
  }
}

void set_proxy(CURL* curl, const PageRequest& request, const std::string& proxy) {
  curl_easy_setopt(curl, CURLOPT_PROXY, proxy.c_str());
  curl_easy_setopt(curl, CURLOPT_NOPROXY, "");  // the named proxy serves every host
  if (!request.proxy_user.empty()) {
    curl_easy_setopt(curl, CURLOPT_PROXYUSERNAME, request.proxy_user.c_str());
    curl_easy_setopt(curl, CURLOPT_PROXYPASSWORD, request.proxy_password.c_str());
  }
}

// Sends the request and waits for the whole answer: the body when the exchange
// succeeded (whatever the status, which goes to `status`), empty on any failure.
std::string perform(CURL* curl, const PageRequest& request, const Text& method,
                    const FetchTuning& tuning, long& status) {
  if (!fits_one_line(method) || !fits_one_line(request.referer) || !fits_one_line(request.cookie) ||
      !fits_one_line(request.user_agent)) {
    return {};
  }
  HeaderList headers;
  if (!build_headers(request, headers)) {
    return {};
  }
  Exchange exchange{{}, tuning.max_body_bytes};
  const std::string proxy = proxy_text(request.proxy_host, request.proxy_port);

  set_limits(curl, tuning);
  curl_easy_setopt(curl, CURLOPT_USERAGENT,
                   request.user_agent.empty() ? kDefaultUserAgent : request.user_agent.c_str());
  if (!request.proxy_host.empty()) {
    set_proxy(curl, request, proxy);
  }
  curl_easy_setopt(curl, CURLOPT_URL, request.address.c_str());
  set_method_and_body(curl, method, request.body);
  curl_easy_setopt(curl, CURLOPT_HTTPHEADER, headers.get());
  curl_easy_setopt(curl, CURLOPT_WRITEFUNCTION, on_body_bytes);
  curl_easy_setopt(curl, CURLOPT_WRITEDATA, &exchange);
  if (curl_easy_perform(curl) != CURLE_OK) {
    return {};
  }
  curl_easy_getinfo(curl, CURLINFO_RESPONSE_CODE, &status);
  return std::move(exchange.body);
}

void pause_after_read(std::chrono::milliseconds pause) {
  if (pause <= std::chrono::milliseconds::zero()) {
    return;
  }
  const auto start = std::chrono::steady_clock::now();
  for (auto waited = std::chrono::steady_clock::duration::zero(); waited <= pause;
       waited = std::chrono::steady_clock::now() - start) {
    std::this_thread::sleep_for(pause - waited + std::chrono::microseconds(50));
  }
}

}  // namespace

FetchTuning default_fetch_tuning() {
  std::lock_guard lock(tuning_mutex());
  return tuning_slot();
}

FetchTuning set_default_fetch_tuning(FetchTuning tuning) {
  std::lock_guard lock(tuning_mutex());
  return std::exchange(tuning_slot(), std::move(tuning));
}

void init_page_fetch() {
  static std::once_flag once;
  std::call_once(once, [] {
    curl_global_init(CURL_GLOBAL_DEFAULT);
    // With CURLOPT_NOSIGNAL a peer closing a socket would otherwise end the process.
    std::signal(SIGPIPE, SIG_IGN);
  });
}

Text proxy_text(const Text& host, int port) {
  return host + ":" + std::to_string(port == 0 ? 80 : port);
}

std::string fetch_page(const PageRequest& request) {
  return fetch_page(request, default_fetch_tuning());
}

std::string fetch_page(const PageRequest& request, const FetchTuning& tuning) {
  return fetch_page_with_status(request, tuning).body;
}

FetchedPage fetch_page_with_status(const PageRequest& request) {
  return fetch_page_with_status(request, default_fetch_tuning());
}

FetchedPage fetch_page_with_status(const PageRequest& request, const FetchTuning& tuning) {
  init_page_fetch();
  const Text method = request.method.empty() ? Text("GET") : request.method;
  std::string origin = origin_of(request);
  EasyHandle curl = handle_pool().take(origin);
  if (!curl) {
    return {};
  }
  long status = 0;
  std::string response = perform(curl.get(), request, method, tuning, status);
  handle_pool().give_back(std::move(curl), std::move(origin));

  // The whole answer is in once perform returns; an empty body is read again up
  // to the limit, with a short pause after each read.
  const int limit = request.poll_count == 0 ? kDefaultPollLimit : request.poll_count;
  for (int reads = 0;;) {
    const bool empty = response.empty();  // one read of the body
    if (tuning.on_body_read) {
      tuning.on_body_read();
    }
    if (!empty) {
      return {std::move(response), status};
    }
    ++reads;
    pause_after_read(tuning.poll_pause);
    if (reads > limit) {
      return {{}, status};
    }
  }
}

void close_idle_connections() {
  handle_pool().close_all();
}

Text body_to_text(const std::string& body) {
  return body.substr(0, body.find('\0'));
}

}  // namespace shop
