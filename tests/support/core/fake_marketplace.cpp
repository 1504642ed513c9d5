#include "support/core/fake_marketplace.h"

#include <algorithm>
#include <thread>

#include "support/core/temp_dir.h"

namespace shop::test_support {

FakeMarketplace::FakeMarketplace() {
  const auto answer = [this](const char* marketplace, const char* keyword_key, const char* page_key,
                             const char* sort_key) {
    return [=, this](const httplib::Request& request, httplib::Response& response) {
      const Search search{marketplace, request.get_param_value(keyword_key),
                          request.get_param_value(sort_key),
                          std::atoi(request.get_param_value(page_key).c_str())};
      std::string body = "<html><body></body></html>";
      int status = 0;
      {
        std::lock_guard lock(mutex_);
        searches_.push_back(search);
        const auto found =
            pages_.find({search.marketplace, search.keyword, search.sort, search.page});
        if (found != pages_.end()) {
          body = found->second;
        }
        for (const int page : {search.page, -1}) {
          const auto refused = statuses_.find({search.keyword, page});
          if (refused != statuses_.end() && status == 0) {
            status = refused->second;
          }
        }
        most_in_flight_ = std::max(most_in_flight_.load(), ++in_flight_);
      }
      std::this_thread::sleep_for(delay_.load());
      {
        std::lock_guard lock(mutex_);
        --in_flight_;
      }
      if (status != 0) {
        response.status = status;
        body = "<html><body>error</body></html>";
      }
      response.set_content(body, "text/html; charset=GBK");
    };
  };
  server_.server().Get("/paipai/search", answer("paipai", "KeyWord", "PageNum", "OrderStyle"));
  server_.server().Get("/taobao/search", answer("taobao", "q", "s", "sort"));
  server_.start();
}

FakeMarketplace::~FakeMarketplace() {
  server_.stop();
}

void FakeMarketplace::set_paipai_page(const std::string& keyword, const std::string& sort_code,
                                      int page, std::string body) {
  std::lock_guard lock(mutex_);
  pages_[{"paipai", keyword, sort_code, page}] = std::move(body);
}

void FakeMarketplace::set_taobao_page(const std::string& keyword, const std::string& sort,
                                      int offset, std::string body) {
  std::lock_guard lock(mutex_);
  pages_[{"taobao", keyword, sort, offset}] = std::move(body);
}

void FakeMarketplace::set_status(const std::string& keyword, int page, int status) {
  std::lock_guard lock(mutex_);
  statuses_[{keyword, page}] = status;
}

std::vector<std::string> FakeMarketplace::search_address_parts() const {
  return {server_.url("/paipai/search?KeyWord="),
          "&OrderStyle=", "&PageNum=", server_.url("/taobao/search?q="), "&s="};
}

void FakeMarketplace::write_settings(const std::filesystem::path& directory) const {
  std::string ini = testing::gbk("[搜索地址]") + "\r\n";
  const std::vector<std::string> parts = search_address_parts();
  for (size_t i = 0; i < parts.size(); ++i) {
    ini += std::to_string(i) + "=" + parts[i] + "\r\n";
  }
  testing::write_file(directory / "店长设置.ini", ini);
}

std::vector<FakeMarketplace::Search> FakeMarketplace::searches() const {
  std::lock_guard lock(mutex_);
  return searches_;
}

std::vector<FakeMarketplace::Search> FakeMarketplace::searches_for(
    const std::string& keyword) const {
  std::vector<Search> found;
  for (const Search& search : searches()) {
    if (search.keyword == keyword) {
      found.push_back(search);
    }
  }
  return found;
}

std::vector<std::string> FakeMarketplace::targets() const {
  std::vector<std::string> targets;
  for (const RecordedRequest& request : server_.requests()) {
    targets.push_back(request.target);
  }
  return targets;
}

std::string FakeMarketplace::paipai_page(const std::vector<std::string>& codes) {
  std::string page = "<html><body><ul>\n";
  for (const std::string& code : codes) {
    page +=
        "<li><a href=\"#\"><img class=\"photo\" onmouseover=\"PP.goodsListProcess.zoomImg(this,'" +
        code + "','http://img.example/" + code + ".jpg')\"></a>" + testing::gbk("宝贝") + "</li>\n";
  }
  return page + "</ul></body></html>";
}

std::string FakeMarketplace::taobao_page(const std::vector<std::string>& ids,
                                         const std::vector<std::string>& before_block) {
  std::string page = "<html><script>var related={\"items\":[";
  for (const std::string& id : before_block) {
    page += "{\"nid\":\"" + id + "\"},";
  }
  page += "]};\nvar config={dynamic:{\"auctions\":[";
  for (const std::string& id : ids) {
    page += "{\"nid\":\"" + id + "\",\"title\":\"" + testing::gbk("连衣裙") + "\"},";
  }
  return page + "]}};</script></html>";
}

}  // namespace shop::test_support
