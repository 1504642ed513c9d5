#pragma once
// The `history` command (registered in commands.def): the rank history of the
// working directory as a table, and its export to and import from CSV.
//
//   shopkeeper history paipai|taobao [--keyword K] [--item ADDRESS]
//   shopkeeper history export FILE.csv
//   shopkeeper history import FILE.csv

#include <filesystem>
#include <optional>
#include <ostream>
#include <string>

namespace shop {

// Texts as the command line gives them (UTF-8).
struct HistoryListArguments {
  std::string marketplace;  // "paipai" or "taobao"
  std::optional<std::string> keyword;
  std::optional<std::string> item_address;
};

// Each returns the process exit code: 0 done, 1 a problem (told on `err`).
int run_history_list(const HistoryListArguments& arguments, std::ostream& out, std::ostream& err);
int run_history_export(const std::filesystem::path& csv, std::ostream& out, std::ostream& err);
int run_history_import(const std::filesystem::path& csv, std::ostream& out, std::ostream& err);

}  // namespace shop
