#pragma once
// One synchronous HTTP request returning the raw response body.

#include <string>

#include "web/text.h"

namespace shop {

struct PageRequest {  // the ten parameters, in their order
  Text address, method, proxy_host;
  int proxy_port = 0;
  Text proxy_user, proxy_password, cookie, body, referer;
  int poll_count = 0;
};

// Raw body bytes (zero bytes included), whatever the status code; empty on failure.
std::string fetch_page(const PageRequest& request);
// The bytes up to the first zero byte, taken unchanged as GBK text.
Text body_to_text(const std::string& body);

}  // namespace shop
