#pragma once
// List-file lines for tests: a row with an id, a keyword and an address and empty
// position columns, as the list file holds it.

#include "lists/list_file.h"

namespace shop::testing {

inline Text list_line(const Text& id, const Text& keyword, const Text& address) {
  const Text& s = kColumnSeparator;
  return id + s + keyword + s + address + s + s + s + s + "\r\n";
}

}  // namespace shop::testing
