// Compiled with GBK as the execution character set (see CMakeLists.txt): the only
// place where the system's texts become GBK bytes.
#include "web/system_texts.h"

namespace shop {

#define SHOP_TEXT(name, text) const char name[] = text;
#include "web/system_texts.def"
#undef SHOP_TEXT

}  // namespace shop
