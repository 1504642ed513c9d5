#include "friendlinks/friend_link_check.h"

#include <QPointer>
#include <array>
#include <string>
#include <system_error>
#include <thread>
#include <vector>

#include "friendlinks/link_back_check.h"
#include "ui/control_text.h"
#include "ui/message.h"
#include "ui/ui_thread.h"
#include "web/page_fetch.h"
#include "web/system_texts.h"

namespace shop {
namespace {

constexpr int kStatusColumn = 3;
constexpr int kAddressColumn = 1;

// The controls the job works with. The job's thread reaches them only through
// on_ui_thread; the guarded pointers turn into no-ops should the window be gone.
struct FriendLinkJob {
  QPointer<QLineEdit> address_box;
  QPointer<QPushButton> button;
  QPointer<TrackingListView> list;
  FriendLinkSites sites;
  FriendLinkRules rules;

  Text shop_address() const {
    Text address;
    on_ui_thread([&] {
      if (address_box) {
        address = control_text(address_box);
      }
    });
    return address;
  }

  void set_status(int row, const Text& status) const {
    on_ui_thread([&] {
      if (list && row < list->row_count()) {
        list->set_cell(row, kStatusColumn, status);
      }
    });
  }
};

Text fetch_text(const Text& address) {
  PageRequest request;
  request.address = address;
  return body_to_text(fetch_page(request));
}

// The row marks, written as each fetch starts and ends.
class RowMarks : public LinkBackObserver {
 public:
  explicit RowMarks(const FriendLinkJob& job) : job_(job) {}
  void row_started(int row) override { job_.set_status(row, kStatusChecking); }
  void row_finished(int row, LinkBack result) override {
    job_.set_status(row, link_back_mark(result));
  }

 private:
  const FriendLinkJob& job_;
};

void check_links_back(const FriendLinkJob& job) {
  const Text wanted = link_back_address(job.shop_address());
  std::vector<Text> friend_addresses;
  on_ui_thread([&] {
    const int rows = job.list ? job.list->row_count() : 0;
    for (int row = 0; row < rows; ++row) {
      friend_addresses.push_back(job.list->cell(row, kAddressColumn));
    }
  });
  RowMarks marks(job);
  check_friend_pages(friend_addresses, wanted, marks);
}

void list_links(const FriendLinkJob& job, const std::vector<FriendLink>& links) {
  std::vector<std::array<Text, 3>> rows;
  rows.reserve(links.size());
  for (size_t id = 0; id < links.size(); ++id) {
    rows.push_back({std::to_string(id), links[id].address, links[id].name});
  }
  on_ui_thread([&] {
    if (job.list) {
      job.list->remove_all_rows();
      job.list->append_rows(rows);
    }
  });
}

// The job's thread: fetch the shop page, list its friend links, check each of them.
// Nothing escapes the thread, and the button is enabled again on every path.
void friend_link_check(const FriendLinkJob& job) {
  try {
    const Text page = fetch_text(job.shop_address());
    list_links(job, extract_friend_links(page, job.shop_address(), job.sites, job.rules));
    check_links_back(job);
  } catch (...) {
  }
  on_ui_thread([&] {
    if (job.button) {
      job.button->setEnabled(true);
    }
  });
}

}  // namespace

void on_friend_link_check_clicked(MainForm& form, const FriendLinkSites& sites) {
  on_friend_link_check_clicked(form, sites, default_friend_link_rules(sites));
}

void on_friend_link_check_clicked(MainForm& form, const FriendLinkSites& sites,
                                  const FriendLinkRules& rules) {
  if (control_text(form.店铺地址).empty()) {
    show_message(kAddShopFirstMessage, kHintTitle, 64);
    return;
  }
  form.按钮_友情检测->setEnabled(false);
  FriendLinkJob job{form.店铺地址, form.按钮_友情检测, form.超级列表框3, sites, rules};
  try {
    std::thread([job = std::move(job)] { friend_link_check(job); }).detach();
  } catch (const std::system_error&) {
    form.按钮_友情检测->setEnabled(true);  // no thread: no run
  }
}

}  // namespace shop
