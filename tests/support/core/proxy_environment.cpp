#include "support/core/proxy_environment.h"

#include <cstdlib>

namespace shop::testing {

void clear_proxy_environment() {
  for (const char* name : {"http_proxy", "https_proxy", "all_proxy", "no_proxy", "HTTPS_PROXY",
                           "ALL_PROXY", "NO_PROXY"}) {
    ::unsetenv(name);
  }
}

ScopedHttpProxy::ScopedHttpProxy(const std::string& proxy) {
  ::setenv("http_proxy", proxy.c_str(), 1);
}

ScopedHttpProxy::~ScopedHttpProxy() {
  ::unsetenv("http_proxy");
}

}  // namespace shop::testing
