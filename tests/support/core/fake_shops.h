#pragma once
// Shop pages served from 127.0.0.1 for the friend-link check. Pages are keyed by the
// request target: a path ("/a.taobao.com"), or a whole address when the server is
// used as an HTTP proxy ("http://shop.paipai.com/123"). Unknown targets get 404
// with an empty body.

#include <functional>
#include <map>
#include <mutex>
#include <string>
#include <vector>

#include "support/core/local_server.h"

namespace shop::testing {

struct ShopLink {
  std::string address;
  std::string name;  // the link text, markup allowed
};

// A shop page in the Taobao layout: the friend-link block with `links`, framed by
// links outside the block that must not be listed.
std::string taobao_shop_page(const std::vector<ShopLink>& links);
// The same in the Paipai layout.
std::string paipai_shop_page(const std::vector<ShopLink>& links);

class FakeShops {
 public:
  FakeShops();

  // Serves `body` with `status` for requests with this target.
  void put(const std::string& target, const std::string& body, int status = 200);
  // "http://127.0.0.1:<port>" followed by `path`.
  std::string url(const std::string& path) const { return server_.url(path); }
  // The address to give as http_proxy.
  std::string proxy_address() const { return server_.url(""); }
  // Called with the target of every request before it is answered, on the
  // server's thread (a test can hold an answer back here).
  void on_request(std::function<void(const std::string&)> hook);
  // How many requests came for this target.
  int hits(const std::string& target) const;

  test_support::LocalServer& server() { return server_; }

 private:
  // Declared before the server, so that the server stops before they go.
  mutable std::mutex mutex_;
  struct Page {
    std::string body;
    int status = 200;
  };
  std::map<std::string, Page> pages_;
  std::function<void(const std::string&)> hook_;
  // More threads than the check has friend pages in flight, so none waits its turn
  // at the server (the listen backlog takes every client connecting at once).
  test_support::LocalServer server_{32};
};

}  // namespace shop::testing
