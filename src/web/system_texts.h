#pragma once
// The system's own texts as GBK bytes: messages, titles, result texts, marks,
// column headers, placeholders and the section and key names of its files. The
// readable list is system_texts.def.

namespace shop {

#define SHOP_TEXT(name, text) extern const char name[];
#include "web/system_texts.def"
#undef SHOP_TEXT

}  // namespace shop
