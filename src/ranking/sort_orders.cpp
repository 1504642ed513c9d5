#include "ranking/sort_orders.h"

#include <array>

namespace shop {
namespace {

struct SortEntry {
  SortOrder order;
  std::string_view name;
  const char* paipai;  // null: no such order
  const char* taobao;
};

constexpr std::array<SortEntry, 6> kSortEntries = {{
    {SortOrder::default_order, "default", "77", ""},
    {SortOrder::popularity, "popularity", "21", "&sort=renqi-desc"},
    {SortOrder::sales, "sales", "24", "&sort=sale-desc"},
    {SortOrder::price, "price", "6", "&sort=price-asc"},
    {SortOrder::credit, "credit", "9", "&sort=credit-desc"},
    {SortOrder::total_price, "total", nullptr, "&sort=total-asc"},
}};

}  // namespace

std::optional<Text> sort_text(Marketplace marketplace, SortOrder order) {
  for (const SortEntry& entry : kSortEntries) {
    if (entry.order == order) {
      const char* text = marketplace == Marketplace::paipai ? entry.paipai : entry.taobao;
      return text == nullptr ? std::nullopt : std::optional<Text>(text);
    }
  }
  return std::nullopt;
}

std::optional<SortOrder> sort_order_named(std::string_view name) {
  for (const SortEntry& entry : kSortEntries) {
    if (entry.name == name) {
      return entry.order;
    }
  }
  return std::nullopt;
}

const char* sort_order_names() {
  return "default, popularity, sales, price, credit, total";
}

}  // namespace shop
