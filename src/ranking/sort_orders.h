#pragma once
// The sort orders of the two marketplaces' keyword searches and the text each puts
// into a search address.

#include <optional>
#include <string_view>

#include "ranking/ranking_engine.h"
#include "web/text.h"

namespace shop {

enum class SortOrder { default_order, popularity, sales, price, credit, total_price };

// The Paipai sort code or the Taobao sort parameter of the order; none when the
// marketplace has no such order (Paipai has no total-price order).
std::optional<Text> sort_text(Marketplace marketplace, SortOrder order);

// The order a command line names: default, popularity, sales, price, credit, total.
std::optional<SortOrder> sort_order_named(std::string_view name);
// The names above, separated by ", ", for messages.
const char* sort_order_names();

}  // namespace shop
