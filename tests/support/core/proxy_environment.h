#pragma once
// The proxy variables that libcurl reads at every request.

#include <string>

namespace shop::testing {

// Removes every proxy variable, so that loopback requests go straight to the
// test's servers whatever the machine running the tests has set.
void clear_proxy_environment();

// Sends the plain-HTTP requests of one scope through `proxy` ("http://host:port").
class ScopedHttpProxy {
 public:
  explicit ScopedHttpProxy(const std::string& proxy);
  ~ScopedHttpProxy();
  ScopedHttpProxy(const ScopedHttpProxy&) = delete;
  ScopedHttpProxy& operator=(const ScopedHttpProxy&) = delete;
};

}  // namespace shop::testing
