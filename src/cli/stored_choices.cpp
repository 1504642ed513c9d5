#include "cli/stored_choices.h"

#include <span>
#include <vector>

#include "app/control_state_rules.h"
#include "app/private_profile.h"
#include "ranking/sort_orders.h"
#include "web/system_texts.h"

namespace shop {
namespace {

struct StoredButton {
  const char* name;
  SortOrder order;
  bool selected_in_form;
};

// Each page's sort buttons in the window's form order, which is the restore order.
const StoredButton kPaipaiButtons[] = {
    {kPaipaiDefaultButton, SortOrder::default_order, true},
    {kPaipaiPriceButton, SortOrder::price, false},
    {kPaipaiSalesButton, SortOrder::sales, false},
    {kPaipaiPopularityButton, SortOrder::popularity, false},
    {kPaipaiCreditButton, SortOrder::credit, false},
};
const StoredButton kTaobaoButtons[] = {
    {kTaobaoPopularityButton, SortOrder::popularity, false},
    {kTaobaoPriceButton, SortOrder::price, false},
    {kTaobaoDefaultButton, SortOrder::default_order, true},
    {kTaobaoSalesButton, SortOrder::sales, false},
    {kTaobaoTotalPriceButton, SortOrder::total_price, false},
    {kTaobaoCreditButton, SortOrder::credit, false},
};

}  // namespace

Text stored_page_count_text(const std::filesystem::path& control_state_file) {
  return read_profile_string(control_state_file, kComboBoxSection, kPageCountBoxName,
                             kDefaultPageCount);
}

Text stored_sort_text(const std::filesystem::path& control_state_file, Marketplace marketplace) {
  const std::span<const StoredButton> buttons = marketplace == Marketplace::paipai
                                                    ? std::span<const StoredButton>(kPaipaiButtons)
                                                    : std::span<const StoredButton>(kTaobaoButtons);
  std::vector<bool> selected;
  for (const StoredButton& button : buttons) {
    selected.push_back(button.selected_in_form);
  }
  for (size_t i = 0; i < buttons.size(); ++i) {
    const Text stored = read_profile_string(control_state_file, kRadioButtonSection,
                                            buttons[i].name, selected[i] ? kTrueText : kFalseText);
    if (text_to_bool(stored)) {
      selected.assign(selected.size(), false);
      selected[i] = true;
    } else {
      selected[i] = false;
    }
  }
  for (size_t i = 0; i < buttons.size(); ++i) {
    if (selected[i]) {
      return sort_text(marketplace, buttons[i].order).value_or(Text());
    }
  }
  return sort_text(marketplace, SortOrder::default_order).value_or(Text());
}

}  // namespace shop
