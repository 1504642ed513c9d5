#include "support/core/fake_shops.h"

#include "support/core/temp_dir.h"

namespace shop::testing {
namespace {

std::string anchors(const std::vector<ShopLink>& links, const std::string& spaces) {
  std::string html;
  for (const ShopLink& link : links) {
    html += "<li><a href=\"" + link.address + "\"" + spaces + "target=\"_blank\">" + link.name +
            "</a></li>\n";
  }
  return html;
}

}  // namespace

std::string taobao_shop_page(const std::vector<ShopLink>& links) {
  const std::string outside = anchors({{"http://outside.taobao.com", "outside"}}, "  ");
  return "<html><body>\n" + outside + "<div class=\"box\">\n<div class=\"hd\">" +
         gbk("<span>友情链接</span>") + "</div>\n<ul>\n" + anchors(links, "  ") +
         "</ul>\n</div>\n</div>\n" + outside + "</body></html>\n";
}

std::string paipai_shop_page(const std::vector<ShopLink>& links) {
  const std::string outside = anchors({{"http://shop.paipai.com/999", "outside"}}, " ");
  return "<html><body>\n" + outside + "<div class=\"pfhlkd_link\">" + anchors(links, " ") +
         "</div>\n" + outside + "</body></html>\n";
}

FakeShops::FakeShops() {
  server_.server().Get(".*", [this](const httplib::Request& request, httplib::Response& response) {
    const std::string target = request.target.substr(0, request.target.find('?'));
    std::function<void(const std::string&)> hook;
    {
      std::lock_guard lock(mutex_);
      hook = hook_;
    }
    if (hook) {
      hook(target);
    }
    std::lock_guard lock(mutex_);
    const auto page = pages_.find(target);
    if (page == pages_.end()) {
      response.status = 404;
      return;
    }
    response.status = page->second.status;
    response.set_content(page->second.body, "text/html; charset=gbk");
  });
  server_.start();
}

void FakeShops::put(const std::string& target, const std::string& body, int status) {
  std::lock_guard lock(mutex_);
  pages_[target] = {body, status};
}

void FakeShops::on_request(std::function<void(const std::string&)> hook) {
  std::lock_guard lock(mutex_);
  hook_ = std::move(hook);
}

int FakeShops::hits(const std::string& target) const {
  int count = 0;
  for (const auto& request : server_.requests()) {
    count += request.target == target ? 1 : 0;
  }
  return count;
}

}  // namespace shop::testing
