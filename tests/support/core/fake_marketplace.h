#pragma once
// A fake of both marketplaces' keyword search on 127.0.0.1: it serves GBK result
// pages from fixtures keyed by keyword, sort and page (Paipai) or item offset
// (Taobao), and records every search it receives. A search without a fixture gets
// a page without listings.

#include <atomic>
#include <chrono>
#include <filesystem>
#include <map>
#include <mutex>
#include <string>
#include <tuple>
#include <vector>

#include "support/core/local_server.h"

namespace shop::test_support {

class FakeMarketplace {
 public:
  struct Search {
    std::string marketplace;  // "paipai" or "taobao"
    std::string keyword;      // GBK, decoded
    std::string sort;         // Paipai sort code, or Taobao sort value ("" for none)
    int page = 0;             // Paipai page number, or Taobao item offset
  };

  FakeMarketplace();
  // Stops the server first: its threads use the fixtures and the records.
  ~FakeMarketplace();

  void set_paipai_page(const std::string& keyword, const std::string& sort_code, int page,
                       std::string body);
  // `sort` is the value of the sort key ("credit-desc", ...), "" when none is sent.
  void set_taobao_page(const std::string& keyword, const std::string& sort, int offset,
                       std::string body);
  // Every answer waits this long first.
  void set_delay(std::chrono::milliseconds delay) { delay_ = delay; }
  // Answers every search for the keyword with this HTTP status and a short error
  // page (0: serve it again); `page` as for the fixtures, -1 for every page.
  void set_status(const std::string& keyword, int page, int status);

  // The five search address pieces that point at this server.
  std::vector<std::string> search_address_parts() const;
  // Writes the settings file "店长设置.ini" with those pieces into `directory`.
  void write_settings(const std::filesystem::path& directory) const;

  std::vector<Search> searches() const;
  std::vector<Search> searches_for(const std::string& keyword) const;
  // Every request target as received, in order of arrival.
  std::vector<std::string> targets() const;
  // The most searches that were being answered at the same moment.
  int most_in_flight() const { return most_in_flight_; }

  // A Paipai result page listing the codes in order, each as the page shows it.
  static std::string paipai_page(const std::vector<std::string>& codes);
  // A Taobao result page whose result block lists the ids in order; `before_block`
  // ids stand on the page ahead of the block and are no results.
  static std::string taobao_page(const std::vector<std::string>& ids,
                                 const std::vector<std::string>& before_block = {});

 private:
  using Key = std::tuple<std::string, std::string, std::string, int>;

  LocalServer server_;
  mutable std::mutex mutex_;
  std::map<Key, std::string> pages_;
  std::map<std::pair<std::string, int>, int> statuses_;
  std::vector<Search> searches_;
  int in_flight_ = 0;
  std::atomic<int> most_in_flight_{0};
  std::atomic<std::chrono::milliseconds> delay_{std::chrono::milliseconds(0)};
};

}  // namespace shop::test_support
